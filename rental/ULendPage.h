#pragma once
#include "core/ValmedoPage.h"

// The main window's page "Půjčení". Its list, filter and actions are built by the page's
// own code; until then the page is an empty frame.
class TLendPage : public TValmedoPage {
    Q_OBJECT
public:
    explicit TLendPage(QWidget *parent = nullptr);
};
