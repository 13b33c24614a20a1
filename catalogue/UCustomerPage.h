#pragma once
#include "core/ValmedoPage.h"

// The main window's page "Zákazníci". Its list, filter and actions are built by the page's
// own code; until then the page is an empty frame.
class TCustomerPage : public TValmedoPage {
    Q_OBJECT
public:
    explicit TCustomerPage(QWidget *parent = nullptr);
};
