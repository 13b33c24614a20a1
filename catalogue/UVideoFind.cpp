#include "catalogue/UVideoFind.h"

#include "catalogue/VideoStore.h"
#include "core/Desk.h"
#include "core/DeskLists.h"
#include "core/LentLines.h"
#include "core/NamedWidget.h"
#include "core/RunReported.h"
#include "core/controls/Int64Edit.h"
#include "core/database/BrowseQuery.h"
#include "core/database/SqlDialect.h"

#include <QLineEdit>

TFormVideoFind::TFormVideoFind(QWidget *parent)
    : TFormFind(QStringLiteral("FormVideoFind"), QStringLiteral(" Vyhledání videa"), QStringLiteral(" Videa: %1"),
                parent)
{
    ADOQueryVideoFind = new BrowseQuery(this);
    ADOQueryVideoFind->setObjectName(QStringLiteral("ADOQueryVideoFind"));
    ADOQueryVideoFind->setSql(VideoSearchAllSql());
    ADOQueryVideoFind->setFieldKind(QStringLiteral("VIDEO"), FieldKind::Int64);
    const QList<std::tuple<const char *, const char *, const char *>> labels = {
        {"VIDEO", "Kód - video", "tab_video"}, {"TITUL", "Titul", "tab_video"}, {"NOSIC", "Nosič", "tab_nosic"}};
    for (const auto &[field, label, origin] : labels) {
        ADOQueryVideoFind->setDisplayLabel(QLatin1String(field), QString::fromUtf8(label));
        ADOQueryVideoFind->setOrigin(QLatin1String(field), QLatin1String(origin));
    }
    ADOQueryVideoFind->setDisplayFormat(QStringLiteral("VIDEO"), QStringLiteral("0000000000000"));
    ADOQueryVideoFind->setAlignment(QStringLiteral("VIDEO"), Qt::AlignLeft);

    Int64EditVideo = Named<TInt64Edit>(this, "Int64EditVideo");
    Int64EditVideo->SetMax(TInt64Edit::HighestNumber);
    Int64EditVideo->SetValue(1);
    EditTitle = Named<QLineEdit>(this, "EditTitle");
    EditTitle->setMaxLength(32);
    for (QWidget *field : {static_cast<QWidget *>(Int64EditVideo), static_cast<QWidget *>(EditTitle)}) {
        QFont large = field->font();
        if (large.pointSizeF() > 0)
            large.setPointSizeF(large.pointSizeF() * 1.5);
        else
            large.setPixelSize(large.pixelSize() * 3 / 2);
        field->setFont(large);
    }
    AddFields({{"Kód:", Int64EditVideo}, {"Titul:", EditTitle}}, EditTitle);
    connect(EditTitle, &QLineEdit::textEdited, this, [this] { RunReported([this] { EditsChange(); }); });
    RxDBGridVideoFind = AddList(ADOQueryVideoFind, "RxDBGridVideoFind", {100, 280, 76},
                                [](qint64 video) -> std::optional<bool> {
                                    const TLentLines *lent = WindowLentLines();
                                    return lent ? lent->VideoOverdue(video) : std::nullopt;
                                });
    resize(540, 440);
}

void TFormVideoFind::EditsChange()
{
    Reselect(VideoSearchSql(), {{QStringLiteral("TITUL"), SqlDialect::likeBegin(EditTitle->text())}});
}

void TFormVideoFind::BitBtnSearchClick()
{
    const TVideoList *videos = MainVideos();
    const QVariant chosen = ADOQueryVideoFind->value(0);
    if (videos && !chosen.isNull())
        videos->list()->locate(QStringLiteral("VIDEO"), chosen);
}
