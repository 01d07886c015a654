// The small dialog that asks the user to rest their eyes, with the check box
// that keeps the reminders coming.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

class CEyeReminderDlg : public QDialog {
    Q_OBJECT
public:
    explicit CEyeReminderDlg(QWidget* parent = nullptr);

    // "下次继续提醒我": 1 when the dialog opens; the box's state after
    // "确认", still 1 after Escape or the close box.
    int remindAgain = 1;

    // Fills the texts for an interval of delayMinutes and ticks the box.
    void Fill(int delayMinutes);
    void accept() override;

    QLabel* MessageText() const { return m_message; }
    QLabel* AdviceText() const { return m_advice; }
    QCheckBox* RemindAgainBox() const { return m_remindAgainBox; }

private:
    QLabel* m_message;
    QLabel* m_advice;
    QCheckBox* m_remindAgainBox;
};
