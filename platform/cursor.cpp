#include "cursor.h"

#include "service_slot.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace platform {
namespace {

class QtCursor : public Cursor {
public:
    ScreenPoint position() override {
        const QPoint p = QCursor::pos();
        return {p.x(), p.y()};
    }
    void setPosition(ScreenPoint p) override { QCursor::setPos(p.x, p.y); }
    ScreenSize screenSize() override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen) return {};
        const QSize s = screen->geometry().size();
        return {s.width(), s.height()};
    }
};

std::unique_ptr<Cursor> makeDefault() { return std::make_unique<QtCursor>(); }

ServiceSlot<Cursor> g_cursor(&makeDefault);

}  // namespace

Cursor& cursor() { return g_cursor.get(); }
Cursor* installCursor(Cursor* c) { return g_cursor.install(c); }

}  // namespace platform
