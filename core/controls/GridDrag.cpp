#include "core/controls/GridDrag.h"

#include "core/RunReported.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/DataSet.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

namespace {

const QString RowFormat = QStringLiteral("application/x-valmedo-grid-row");

class DragSource : public QObject {
public:
    explicit DragSource(TRxDBGridEx *grid) : QObject(grid), m_grid(grid) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QPair<int, int> cell = m_grid->CellAt(mouse->position().toPoint());
            const DataSet *data = m_grid->dataSet();
            m_armed = mouse->button() == Qt::LeftButton && cell.first >= 0 && cell.second >= 0 && data
                      && !data->isEmpty();
            break;
        }
        case QEvent::MouseMove:
            if (m_armed && (static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton)) {
                m_armed = false;
                auto *drag = new QDrag(m_grid);
                drag->setMimeData(GridRowData(m_grid));
                drag->exec(Qt::MoveAction);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            m_armed = false;
            break;
        default:
            break;
        }
        return false;
    }

private:
    TRxDBGridEx *m_grid;
    bool m_armed = false;
};

class DropTarget : public QObject {
public:
    DropTarget(TRxDBGridEx *grid, std::function<void(TRxDBGridEx *)> onDrop)
        : QObject(grid), m_grid(grid), m_onDrop(std::move(onDrop))
    {
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDropEvent *>(event);
            if (drag->mimeData()->hasFormat(RowFormat))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            if (!drop->mimeData()->hasFormat(RowFormat))
                return false;
            drop->acceptProposedAction();
            const QString name = QString::fromUtf8(drop->mimeData()->data(RowFormat));
            QPointer<TRxDBGridEx> source = m_grid->window()->findChild<TRxDBGridEx *>(name);
            QTimer::singleShot(0, m_grid, [this, source] { RunReported([this, source] { m_onDrop(source); }); });
            return true;
        }
        default:
            return false;
        }
    }

private:
    TRxDBGridEx *m_grid;
    std::function<void(TRxDBGridEx *)> m_onDrop;
};

} // namespace

void DragGridRows(TRxDBGridEx *grid)
{
    grid->viewport()->installEventFilter(new DragSource(grid));
}

void DropGridRows(TRxDBGridEx *grid, std::function<void(TRxDBGridEx *source)> onDrop)
{
    grid->viewport()->setAcceptDrops(true);
    grid->viewport()->installEventFilter(new DropTarget(grid, std::move(onDrop)));
}

QMimeData *GridRowData(const TRxDBGridEx *source)
{
    auto *data = new QMimeData;
    data->setData(RowFormat, source->objectName().toUtf8());
    return data;
}
