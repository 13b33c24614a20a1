#pragma once
#include <QString>
#include <cstddef>
#include <iterator>

// The main window's actions. The program finds an action by its value, so that a name
// written wrong does not compile; each keeps its objectName, by which the tests find it.
enum class ValmedoAction {
    Close,
    SetupVideo,
    SetupPrint,
    Medium,
    Direction,
    User,
    Backup,
    Database,
    About,
    CustomerFind,
    CustomerNew,
    CustomerEdit,
    CustomerDelete,
    CustomerExportImport,
    CustomerPrint,
    VideoFind,
    VideoNew,
    VideoEdit,
    VideoDelete,
    VideoExportImport,
    VideoPrint,
    LendNew,
    LendSelect,
    LendDelete,
    LendLend,
    BackSelect,
    BackDelete,
    BackBack,
    LendsPrint,
    LendsStatistics,
    LendsTotalPrint,
};

struct ValmedoActionName {
    ValmedoAction action;
    const char *objectName;
};

// Every action with its objectName, in the order of the enum.
inline constexpr ValmedoActionName ValmedoActionNames[] = {
    {ValmedoAction::Close, "ActionClose"},
    {ValmedoAction::SetupVideo, "ActionSetupVideo"},
    {ValmedoAction::SetupPrint, "ActionSetupPrint"},
    {ValmedoAction::Medium, "ActionMedium"},
    {ValmedoAction::Direction, "ActionDirection"},
    {ValmedoAction::User, "ActionUser"},
    {ValmedoAction::Backup, "ActionBackup"},
    {ValmedoAction::Database, "ActionDatabase"},
    {ValmedoAction::About, "ActionAbout"},
    {ValmedoAction::CustomerFind, "ActionCustomerFind"},
    {ValmedoAction::CustomerNew, "ActionCustomerNew"},
    {ValmedoAction::CustomerEdit, "ActionCustomerEdit"},
    {ValmedoAction::CustomerDelete, "ActionCustomerDelete"},
    {ValmedoAction::CustomerExportImport, "ActionCustomerExportImport"},
    {ValmedoAction::CustomerPrint, "ActionCustomerPrint"},
    {ValmedoAction::VideoFind, "ActionVideoFind"},
    {ValmedoAction::VideoNew, "ActionVideoNew"},
    {ValmedoAction::VideoEdit, "ActionVideoEdit"},
    {ValmedoAction::VideoDelete, "ActionVideoDelete"},
    {ValmedoAction::VideoExportImport, "ActionVideoExportImport"},
    {ValmedoAction::VideoPrint, "ActionVideoPrint"},
    {ValmedoAction::LendNew, "ActionLendNew"},
    {ValmedoAction::LendSelect, "ActionLendSelect"},
    {ValmedoAction::LendDelete, "ActionLendDelete"},
    {ValmedoAction::LendLend, "ActionLendLend"},
    {ValmedoAction::BackSelect, "ActionBackSelect"},
    {ValmedoAction::BackDelete, "ActionBackDelete"},
    {ValmedoAction::BackBack, "ActionBackBack"},
    {ValmedoAction::LendsPrint, "ActionLendsPrint"},
    {ValmedoAction::LendsStatistics, "ActionLendsStatistics"},
    {ValmedoAction::LendsTotalPrint, "ActionLendsTotalPrint"},
};

inline constexpr std::size_t ValmedoActionCount = std::size(ValmedoActionNames);

// The table is indexed by the enum: an action added to one and not the other, or out of
// order, fails the build.
constexpr bool ValmedoActionNamesInOrder()
{
    for (std::size_t i = 0; i < ValmedoActionCount; ++i) {
        if (static_cast<std::size_t>(ValmedoActionNames[i].action) != i)
            return false;
    }
    return static_cast<std::size_t>(ValmedoAction::LendsTotalPrint) + 1 == ValmedoActionCount;
}
static_assert(ValmedoActionNamesInOrder());

// The objectName of `action` ("ActionCustomerEdit" ...).
inline QString ValmedoActionObjectName(ValmedoAction action)
{
    return QString::fromLatin1(ValmedoActionNames[static_cast<std::size_t>(action)].objectName);
}
