#pragma once
#include "core/ValmedoPage.h"

// The main window's page "Vracení". Its list, filter and actions are built by the page's
// own code; until then the page is an empty frame.
class TBackPage : public TValmedoPage {
    Q_OBJECT
public:
    explicit TBackPage(QWidget *parent = nullptr);
};
