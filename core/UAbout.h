#pragma once
#include <QDialog>

class QLabel;

// The about window " O programu": the program's name and version from the version
// constants.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *Image = nullptr;
    QLabel *ApplicationLabel = nullptr;
    QLabel *VersionLabel = nullptr;
};
