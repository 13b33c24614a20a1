#pragma once
#include <QApplication>

// The program's application object: an error that escapes a handler of the main loop
// is reported in a warning window, as RunReported does, and the loop goes on instead
// of the program ending.
class TValmedoApplication : public QApplication {
    Q_OBJECT
public:
    TValmedoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
