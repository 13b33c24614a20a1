#pragma once
#include "core/MessageForms.h"

class BrowseQuery;
class TRxDBGridEx;

// " Zákazník má půjčeno": the videos a customer still has out when he comes to borrow, the
// overdue ones in the overdue colour, with how many there are and how many should have been
// back already. Ok or Esc closes it.
class TFormInformationLend : public TMessageForm {
    Q_OBJECT
public:
    TFormInformationLend(qint64 customer, const QString &name);

    QLabel *LabelInformation = nullptr;
    TRxDBGridEx *RxDBGrid = nullptr;
    QPushButton *ButtonClose = nullptr;
    BrowseQuery *ADOQueryLend = nullptr;

private:
    void createQuery(qint64 customer);
    void createGrid();
};
