#pragma once
#include "core/ValmedoPage.h"

// The main window's page "Video". Its list, filter and actions are built by the page's
// own code; until then the page is an empty frame.
class TVideoPage : public TValmedoPage {
    Q_OBJECT
public:
    explicit TVideoPage(QWidget *parent = nullptr);
};
