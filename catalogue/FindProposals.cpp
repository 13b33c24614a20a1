#include "catalogue/FindProposals.h"

#include "catalogue/CustomerStore.h"
#include "catalogue/VideoStore.h"
#include "core/controls/FindBoxes.h"

void ProposeCustomerNames(TFindComboBox *box)
{
    box->OnPropose = [](const QString &typed) {
        QList<FindProposal> proposals;
        for (const CustomerProposal &p : CustomerNameProposals(typed))
            proposals.append({CustomerProposalText(p), p.number});
        return proposals;
    };
}

void ProposeVideoTitles(TFindComboBox *box)
{
    box->OnPropose = [](const QString &typed) {
        QList<FindProposal> proposals;
        for (const QString &title : VideoTitleProposals(typed))
            proposals.append({title, title});
        return proposals;
    };
}
