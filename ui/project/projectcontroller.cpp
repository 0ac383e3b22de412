#include "project/projectcontroller.h"

#include "project/projectdocument.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUndoStack>

namespace {

const QString projectFilter = "Tarvel 项目 (*.tarvel)";

// The local file of a drop, if it is a project or a load table.
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QString path = data->urls().front().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "tarvel" || suffix == "csv" || suffix == "tsv" ? path : QString();
}

} // namespace

ProjectController::ProjectController(QMainWindow* window, const QString& title, View view)
    : QObject(window), window_(window), title_(title), view_(std::move(view)),
      document_(new ProjectDocument(this)) {
    connect(document_, &ProjectDocument::changed, this, &ProjectController::updateTitle);
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    updateTitle();
}

void ProjectController::watchUndo(QUndoStack* stack) {
    if (undo_) disconnect(undo_, nullptr, this, nullptr);
    undo_ = stack;
    if (!stack) return;
    connect(stack, &QUndoStack::indexChanged, this, &ProjectController::undoMoved);
    markSaved();
}

void ProjectController::setTitle(const QString& title) {
    title_ = title;
    updateTitle();
}

void ProjectController::shownUnmodified() {
    if (!document_->modified()) markSaved();
}

void ProjectController::markSaved() {
    saved_ = view_.project();
    if (undo_) undo_->setClean();
}

// Every change marks the project modified; an undo or redo that lands on the saved state of
// the history, with nothing changed outside it, takes the mark away again.
void ProjectController::undoMoved() {
    if (document_->modified() && undo_->isClean() && saved_ && view_.project() == *saved_)
        document_->setModified(false);
}

void ProjectController::addFileCommands(QMenu* menu) {
    QAction* first = menu->actions().value(0);
    auto add = [&](const QString& text, QKeySequence key, const char* name) {
        auto* action = new QAction(text, window_);
        action->setObjectName(name);
        action->setShortcut(key);
        menu->insertAction(first, action);
        return action;
    };
    connect(add("新建", QKeySequence::New, "actionNew"), &QAction::triggered, this,
            &ProjectController::newProject);
    connect(add("打开…", QKeySequence::Open, "actionOpen"), &QAction::triggered, this,
            &ProjectController::openDialog);
    connect(add("保存", QKeySequence::Save, "actionSave"), &QAction::triggered, this,
            &ProjectController::save);
    connect(add("另存为…", QKeySequence::SaveAs, "actionSaveAs"), &QAction::triggered, this,
            &ProjectController::saveAsDialog);
    recentMenu_ = new QMenu("最近打开", menu);
    recentMenu_->setObjectName("menuRecent");
    recentMenu_->setFont(menu->font());
    menu->insertMenu(first, recentMenu_);
    menu->insertSeparator(first);
    connect(recentMenu_, &QMenu::aboutToShow, this, &ProjectController::fillRecentMenu);
    fillRecentMenu();
}

void ProjectController::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList files = ProjectDocument::recentFiles();
    for (const QString& path : files) {
        QAction* action = recentMenu_->addAction(QFileInfo(path).fileName());
        action->setToolTip(path);
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] {
            if (!maybeSave()) return;
            if (!open(path) && !QFileInfo::exists(path)) ProjectDocument::removeRecentFile(path);
        });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void ProjectController::updateTitle() {
    window_->setWindowTitle(QString("%1[*] - %2").arg(document_->displayName(), title_));
    window_->setWindowModified(document_->modified());
}

bool ProjectController::hasProject() const {
    if (!document_->path().isEmpty()) return true;
    const tarvel::Project p = view_.project();
    return !p.loads.empty() || !(p.info == tarvel::ProjectInfo{});
}

ReportActions::ProjectLink ProjectController::reportLink() {
    using tarvel::report::ReportInfo;
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    return {[this] { return hasProject(); },
            [this, q] {
                const tarvel::ProjectInfo i = view_.project().info;
                return ReportInfo{q(i.project), q(i.member), q(i.designer), q(i.checker)};
            },
            [this](const ReportInfo& i) {
                view_.setInfo({i.project.toStdString(), i.member.toStdString(),
                               i.designer.toStdString(), i.checker.toStdString()});
            },
            [this] {
                const QString path = document_->path();
                return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
            }};
}

void ProjectController::newProject() {
    if (const QString busy = view_.busy(); !busy.isEmpty()) {
        warn(busy);
        return;
    }
    if (!maybeSave()) return;
    view_.show(view_.blank());
    document_->reset();
    markSaved();
}

bool ProjectController::open(const QString& path) {
    if (const QString busy = view_.busy(); !busy.isEmpty()) {
        warn(busy);
        return false;
    }
    QString error;
    const std::optional<tarvel::Project> p = document_->open(path, &error);
    if (!p) {
        warn(error);
        return false;
    }
    view_.show(*p);
    // Showing it touched the inputs; what is shown is what the file holds.
    document_->setModified(false);
    markSaved();
    view_.opened();
    return true;
}

void ProjectController::openDialog() {
    if (!maybeSave()) return;
    const QString path = QFileDialog::getOpenFileName(
        window_, "打开项目", QFileInfo(document_->path()).absolutePath(), projectFilter);
    if (!path.isEmpty()) open(path);
}

bool ProjectController::saveAs(const QString& path) {
    // Nothing typed is lost: the user mends it first, and the file stays as it was.
    if (const QString why = view_.unsaved ? view_.unsaved() : QString(); !why.isEmpty()) {
        warn(QString("%1；项目未保存").arg(why));
        return false;
    }
    QString error;
    if (!document_->save(path, view_.project(), &error)) {
        warn(error);
        return false;
    }
    markSaved();
    return true;
}

bool ProjectController::save() {
    if (document_->path().isEmpty()) return saveAsDialog();
    return saveAs(document_->path());
}

bool ProjectController::saveAsDialog() {
    QString path = QFileDialog::getSaveFileName(
        window_, "另存为", document_->path().isEmpty() ? "项目.tarvel" : document_->path(),
        projectFilter);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += tarvel::projectSuffix;
    return saveAs(path);
}

bool ProjectController::maybeSave() {
    if (!document_->modified()) return true;
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
                    QString("项目「%1」有未保存的修改，是否保存？").arg(document_->displayName()),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window_);
    box.button(QMessageBox::Save)->setText("保存");
    box.button(QMessageBox::Discard)->setText("不保存");
    box.button(QMessageBox::Cancel)->setText("取消");
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void ProjectController::warn(const QString& message) {
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), message,
                    QMessageBox::Ok, window_);
    box.exec();
}

void ProjectController::dropped(const QString& path) {
    if (QFileInfo(path).suffix().toLower() == "tarvel") {
        if (maybeSave()) open(path);
        return;
    }
    QString error;
    if (!view_.importTable(path, &error)) warn(error);
}

bool ProjectController::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Close:
        if (!maybeSave()) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::DragEnter: {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (!droppedFile(enter->mimeData()).isEmpty()) enter->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedFile(drop->mimeData());
        if (path.isEmpty()) return true;
        drop->acceptProposedAction();
        dropped(path);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
