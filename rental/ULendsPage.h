#pragma once
#include "core/ValmedoPage.h"

// The main window's page "Doklady". Its list, filter and actions are built by the page's
// own code; until then the page is an empty frame.
class TLendsPage : public TValmedoPage {
    Q_OBJECT
public:
    explicit TLendsPage(QWidget *parent = nullptr);
};
