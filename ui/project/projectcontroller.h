#pragma once

#include "project/project.h"
#include "report/reportactions.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class ProjectDocument;
class QMainWindow;
class QMenu;
class QUndoStack;

// The project shell of a window: 新建, 打开…, 保存, 另存为…, 最近打开, files dropped on the
// window, the question about unsaved changes (on every way out), and the window's title.
// The window says through `View` what its project is and how to show one; the controller
// knows nothing of what the project means.
class ProjectController : public QObject {
    Q_OBJECT
  public:
    struct View {
        std::function<tarvel::Project()> project;         // as the window shows it
        std::function<void(const tarvel::Project&)> show; // shows a project read or new
        std::function<tarvel::Project()> blank;           // what 新建 starts from
        // Why no project may replace the one shown now (a calculation running), or empty.
        std::function<QString()> busy;
        std::function<void()> opened; // after a file was opened and shown
        // A load table dropped on the window is read into the shown project.
        std::function<bool(const QString& path, QString* error)> importTable;
        std::function<void(const tarvel::ProjectInfo&)> setInfo; // the header, from the report
        // Why what is shown cannot be saved as it stands (a text that does not read), or empty.
        std::function<QString()> unsaved;
    };
    // Watches `window` for its close and for files dropped on it; the title says `title`.
    ProjectController(QMainWindow* window, const QString& title, View view);

    ProjectDocument* document() const { return document_; }
    // The project's undo history: saving marks it clean, and undoing or redoing back to what
    // was last saved (or opened, or made new) clears the unsaved mark. nullptr stops watching.
    void watchUndo(QUndoStack* stack);
    // A change the window made on its own (the base taken from a calculation) that leaves an
    // unmodified project unmodified: undoing back to here clears the unsaved mark too.
    void shownUnmodified();
    // The title after the file's name ("设计验算 - Tarvel").
    void setTitle(const QString& title);
    // Puts the file commands at the top of `menu`.
    void addFileCommands(QMenu* menu);
    // Whether a project is open: it has a file, a load combination or a header.
    bool hasProject() const;
    // The report's link to the open project (title block, folder).
    ReportActions::ProjectLink reportLink();

    // Opens a project file; a bad file leaves the shown project as it was and says why in
    // a message box. Does not ask about unsaved changes (maybeSave() does).
    bool open(const QString& path);
    // Saves to the path; a failure says why in a message box.
    bool saveAs(const QString& path);
    // Asks 保存/不保存/取消 when there are unsaved changes; false to stay.
    bool maybeSave();

  public slots:
    void newProject();
    void openDialog();
    bool save();
    bool saveAsDialog();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fillRecentMenu();
    void updateTitle();
    void warn(const QString& message);
    void dropped(const QString& path);
    // What is shown now is what the file holds (or a new project).
    void markSaved();
    void undoMoved();

    QMainWindow* window_;
    QString title_;
    View view_;
    ProjectDocument* document_;
    QMenu* recentMenu_ = nullptr;
    QUndoStack* undo_ = nullptr;
    std::optional<tarvel::Project> saved_;
};
