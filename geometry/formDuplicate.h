// The duplicate dialog: copies the selected group, or every group of a multiple
// selection, 1 to 99 times; copy k lies k offsets away from its source. The copies
// are top-level groups, become the selection, and are one undo record.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class NumericField;
class UpDown;
}  // namespace platform

class formDuplicate : public QDialog {
    Q_OBJECT
public:
    explicit formDuplicate(QWidget* owner = nullptr);

    QLabel* Label2;
    QLabel* lblCopies;
    platform::UpDown* updwnCopies;
    QGroupBox* Frame1;
    std::array<QLabel*, 3> Label1{};
    std::array<platform::NumericField*, 3> fldOffset{};
    std::array<QLineEdit*, 3> txtOffset{};
    std::array<platform::UpDown*, 3> updwnOffset{};
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // The handlers; the connections run the trapping ones inside the error trap.
    void Form_Load();
    void updwnCopies_Change();
    void txtOffset_Change(int Index);
    void txtOffset_LostFocus(int Index);
    void updwnOffset_Change(int Index);
    // Makes the copies, selects and records those made; an error part-way rises
    // after the copies made so far are selected and recorded. A last copy beyond
    // the world's limit makes none: a message says so and the dialog stays open.
    void cmdOK_Click();
    void cmdCancel_Click();

private:
    // Copy number k of group: its engine copy under the root group, moved by k
    // offsets, with its tree node.
    int32_t CopyGroup(int32_t group, int32_t k);
    void SelectAndRecord(const std::vector<int32_t>& copies);

    bool refused_ = false;  // the last OK made no copy for the world's limit
};

namespace geometry {

// Opens a fresh duplicate dialog modally over owner.
void ShowDuplicateDialog(QWidget* owner);

}  // namespace geometry
