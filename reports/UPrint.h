#pragma once
#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TPrinterComboBox;

// The print dialog "  Tisk" of the preview: the printer, all pages or a range, the number
// of copies.
class TFormPrint : public QDialog {
    Q_OBJECT
public:
    explicit TFormPrint(QWidget *owner = nullptr);

    // Handlers.
    void FormShow();
    void RxSpinEditFromToClick(QSpinBox *spinEdit);
    void RxSpinEditFromToChange();
    void RxSpinEditCopyClick();

    QLabel *LabelPrinter = nullptr;
    TPrinterComboBox *PrinterComboBox = nullptr;
    QGroupBox *GroupBoxPage = nullptr;
    QRadioButton *RadioButtonAllPages = nullptr;
    QRadioButton *RadioButtonPages = nullptr;
    QLabel *LabelFrom = nullptr;
    QSpinBox *RxSpinEditFrom = nullptr;
    QLabel *LabelTo = nullptr;
    QSpinBox *RxSpinEditTo = nullptr;
    QGroupBox *GroupBoxCopy = nullptr;
    QLabel *LabelCopy = nullptr;
    QSpinBox *RxSpinEditCopy = nullptr;
    QPushButton *ButtonOk = nullptr;
    QPushButton *ButtonCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createPrinterRow(class QVBoxLayout *layout);
    void createPageGroup(class QHBoxLayout *row);
    void createCopyGroup(class QHBoxLayout *row);
    QSpinBox *createSpinEdit(const QString &name, QWidget *parent);

    bool m_changeAttached = false;
};
