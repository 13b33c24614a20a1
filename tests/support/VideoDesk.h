#pragma once
#include "support/PageDesk.h"

class TVideoPage;

// A logged-in desk on the test's database, shown on the video page.
class VideoDesk : public PageDesk {
public:
    explicit VideoDesk(TestDatabase &db, const QString &user = QStringLiteral("sa"));
    TVideoPage *page() const;
};
