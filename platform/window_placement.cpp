#include "window_placement.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDockWidget>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QStyle>
#include <QToolBar>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace platform {
namespace {

constexpr const char* kPlacedProperty = "platformPlacedOnScreen";
constexpr const char* kStackingProperty = "platformStackingParts";

QMargins frameMargins(const QWidget& window) {
    const QRect f = window.frameGeometry();
    const QRect g = window.geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

QRect globalRect(const QWidget& w) { return {w.mapToGlobal(QPoint(0, 0)), w.size()}; }

class PlaceOnShow : public QObject {
public:
    explicit PlaceOnShow(QObject* parent) : QObject(parent) {}

    QPointer<QWidget> mainWindow;
    QPointer<QWidget> views;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || event->spontaneous()) return false;
        auto* window = qobject_cast<QWidget*>(watched);
        if (!window || !window->isWindow() || window == mainWindow || showing_.contains(window)) return false;
        const Qt::WindowType type = window->windowType();
        if (type != Qt::Window && type != Qt::Dialog && type != Qt::Tool) return false;
        // A toolbar or dock the user tears off goes where it is dragged.
        if (qobject_cast<QToolBar*>(window) || qobject_cast<QDockWidget*>(window)) return false;
        if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) return false;
        // The window's own show handling runs first: a message box takes its size there.
        QPointer<QWidget> guard(window);
        showing_.insert(window);
        QCoreApplication::sendEvent(window, event);
        showing_.remove(window);
        if (guard) PlaceOnScreen(*guard);
        return true;
    }

private:
    QSet<QWidget*> showing_;
};

// Owned by the application, gone with it.
QPointer<PlaceOnShow> g_filter;

}  // namespace

QRect PlaceFrame(const QSize& wanted, const QSize& least, const WindowRoom& room, const QRect* remembered) {
    const QRect& screen = room.screen;
    if (remembered && remembered->isValid() && screen.contains(*remembered)) return *remembered;
    QSize size = wanted.boundedTo(screen.size()).expandedTo(least);
    // A frame larger than the screen keeps its top left corner on it.
    auto clampX = [&](int x) { return std::max(screen.left(), std::min(x, screen.right() + 1 - size.width())); };
    auto clampY = [&](int y) { return std::max(screen.top(), std::min(y, screen.bottom() + 1 - size.height())); };
    const QRect& owner = room.owner;
    const QRect views = room.views.isValid() ? room.views : (owner.isValid() ? owner : screen);
    if (owner.isValid()) {
        const int top = clampY(views.top());
        if (screen.right() - owner.right() >= size.width()) return {QPoint(owner.right() + 1, top), size};
        if (owner.left() - screen.left() >= size.width()) return {QPoint(owner.left() - size.width(), top), size};
    }
    // From the views' left edge to the screen's right edge nothing is under the
    // frame but views and what lies beyond the main window.
    const QRect over = views.intersected(screen);
    const int free = screen.right() + 1 - over.left();
    if (free < size.width()) size.setWidth(std::max(free, least.width()));
    const int x = size.width() <= free
                      ? std::min(over.left() + std::max(0, (over.width() - size.width()) / 2),
                                 screen.right() + 1 - size.width())
                      : clampX(screen.right() + 1 - size.width());
    const int y = clampY(views.top() + (views.height() - size.height()) / 2);
    return {QPoint(x, y), size};
}

void PlaceOnScreen(QWidget& window) {
    QWidget* owner = g_filter && g_filter->mainWindow ? g_filter->mainWindow.data() : nullptr;
    if (!owner && window.parentWidget()) owner = window.parentWidget()->window();
    const bool ownerShown = owner && owner != &window && owner->isVisible();
    QScreen* screen = ownerShown ? owner->screen() : window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;

    WindowRoom room;
    room.screen = screen->availableGeometry();
    if (ownerShown) {
        room.owner = owner->frameGeometry();
        QWidget* views = g_filter && owner == g_filter->mainWindow ? g_filter->views.data() : nullptr;
        room.views = views && views->isVisible() ? globalRect(*views) : room.owner;
    }
    // Before its first showing a window has no frame yet: the main window's stands in.
    QMargins margins = frameMargins(window);
    if (margins.isNull() && ownerShown) margins = frameMargins(*owner);

    const QRect before = window.frameGeometry();
    const bool placedBefore = window.property(kPlacedProperty).toBool();
    auto place = [&] {
        const QSize least = window.minimumSize().expandedTo(window.minimumSizeHint());
        return PlaceFrame(window.size().grownBy(margins), least.grownBy(margins), room,
                          placedBefore ? &before : nullptr);
    };
    auto* parts = qobject_cast<QBoxLayout*>(window.property(kStackingProperty).value<QObject*>());
    auto standParts = [&](QBoxLayout::Direction direction) {
        parts->setDirection(direction);
        // The window takes the size and least size its parts ask for standing so.
        parts->activate();
        window.resize(window.sizeHint());
    };
    if (parts && !placedBefore) standParts(QBoxLayout::LeftToRight);
    QRect frame = place();
    if (parts && !placedBefore) {
        // Cut narrower than its parts want, or kept at their least width over the panel.
        const bool cut = frame.width() < window.width() + margins.left() + margins.right();
        const bool overPanel = room.owner.isValid() && frame.intersects(room.owner) && frame.left() < room.views.left();
        if (cut || overPanel) {
            standParts(QBoxLayout::TopToBottom);
            frame = place();
        }
    }
    const QSize client = frame.size().shrunkBy(margins).boundedTo(window.maximumSize());
    // The geometry is the client's: a window not shown yet knows no frame to move by.
    window.setGeometry(QRect(frame.topLeft() + QPoint(margins.left(), margins.top()), client));
    window.setProperty(kPlacedProperty, true);
}

void StartOnScreen(QWidget& mainWindow, const QSize& wanted) {
    mainWindow.resize(wanted);
    QScreen* screen = mainWindow.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QMargins margins = frameMargins(mainWindow);
    if (margins.isNull()) {
        const QStyle* style = mainWindow.style();
        const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        margins = {border, border + style->pixelMetric(QStyle::PM_TitleBarHeight), border, border};
    }
    const QSize room = screen->availableGeometry().size().shrunkBy(margins);
    if (wanted.width() <= room.width() && wanted.height() <= room.height()) return;
    // Restored from maximised it still fits, as far as its least size allows.
    mainWindow.resize(wanted.boundedTo(room).expandedTo(mainWindow.minimumSize()));
    mainWindow.setWindowState(mainWindow.windowState() | Qt::WindowMaximized);
}

void StackWhereNarrow(QWidget& window, QBoxLayout& parts) {
    window.setProperty(kStackingProperty, QVariant::fromValue<QObject*>(&parts));
}

void PlaceWindowsOnShow(QWidget& mainWindow, QWidget& views) {
    if (!g_filter) {
        g_filter = new PlaceOnShow(qApp);
        qApp->installEventFilter(g_filter);
    }
    g_filter->mainWindow = &mainWindow;
    g_filter->views = &views;
}

}  // namespace platform
