#include "support/VideoDesk.h"

#include "catalogue/UVideoPage.h"
#include "core/UValmedo.h"

VideoDesk::VideoDesk(TestDatabase &db, const QString &user) : PageDesk(db, TFormValmedo::PageVideo, user)
{
}

TVideoPage *VideoDesk::page() const
{
    return window()->videoPage();
}
