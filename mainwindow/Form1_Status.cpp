// The status bar's polygon counts and the busy pointer.
#include "BusyPointer.h"
#include "Form1.h"

#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "ombrel.h"
#include "views/PicWindow.h"

#include <QLabel>

namespace {

constexpr int kHourglass = 11;

}  // namespace

BusyPointer::BusyPointer(Form1& form) : form_(form) { form_.SetMousePtrToHourGlass(false); }

BusyPointer::~BusyPointer() {
    try {
        form_.SetMousePtrToHourGlass(true);
    } catch (...) {
        // Leaving the busy state cannot fail the way out of a handler.
    }
}

void Form1::UpdateStatusBar() {
    using namespace Globals;
    statusPanels_[0]->setText(QString::number(OMBREL_group_get_number_of_polygons(RootGrp)));
    QString selected;
    if (CurrSelEntityType == SelGroup) {
        selected = QString::number(OMBREL_group_get_number_of_polygons(CurrSelEntityHandle));
    } else if (CurrSelEntityType == SelMultiple && CurrMultiSel) {
        int64_t sum = 0;
        for (int32_t i = 1; i <= CurrMultiSel->NumOfGrps(); ++i)
            sum += OMBREL_group_get_number_of_polygons(CurrMultiSel->GetGrp(i));
        selected = QString::number(sum);
    }
    statusPanels_[1]->setText(selected);
}

void Form1::SetMousePtrToHourGlass(bool Reset) {
    if (!Reset) {
        statusPanels_[2]->setText("Please wait!");
        // What follows blocks the event loop, which would paint the text only
        // once the wait is over: paint it now.
        statusPanels_[2]->repaint();
        // Nested calls keep the pointer the first one found.
        if (!viewPointerSaved_) {
            savedViewPointer_ = picWindow[0]->MousePointer();
            viewPointerSaved_ = true;
        }
        for (PicWindow* view : picWindow) view->SetMousePointer(kHourglass);
        setCursor(Qt::WaitCursor);
        return;
    }
    statusPanels_[2]->setText("");
    for (PicWindow* view : picWindow) view->SetMousePointer(savedViewPointer_);
    viewPointerSaved_ = false;
    unsetCursor();
}
