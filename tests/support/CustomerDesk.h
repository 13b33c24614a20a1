#pragma once
#include "support/PageDesk.h"

class TCustomerPage;

// A logged-in desk on the test's database, shown on the customer page.
class CustomerDesk : public PageDesk {
public:
    explicit CustomerDesk(TestDatabase &db, const QString &user = QStringLiteral("sa"));
    TCustomerPage *page() const;
};
