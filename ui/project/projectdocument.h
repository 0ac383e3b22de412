#pragma once

#include "project/project.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// The file side of a project: where it lives, whether it has unsaved changes, reading and
// writing it, and the list of recently opened files (QSettings, Tarvel/Tarvel).
class ProjectDocument : public QObject {
    Q_OBJECT
  public:
    static constexpr int maxRecentFiles = 8;

    explicit ProjectDocument(QObject* parent = nullptr);

    QString path() const { return path_; }
    // The file name for the title, or 未命名.
    QString displayName() const;
    bool modified() const { return modified_; }
    void setModified(bool modified);
    // A new, unsaved project.
    void reset();

    // Reads a project file; on failure `error` names the problem in Chinese and nothing here
    // changes.
    std::optional<tarvel::Project> open(const QString& path, QString* error);
    // Writes the project atomically: the file that was there stays whole unless the new one
    // was written completely. On success the document takes the path and is unmodified.
    bool save(const QString& path, const tarvel::Project& project, QString* error);

    // Without the document: what open() and save() do with the bytes.
    static std::optional<tarvel::Project> read(const QString& path, QString* error);
    static bool write(const QString& path, const tarvel::Project& project, QString* error);

    static QStringList recentFiles();
    static void addRecentFile(const QString& path);
    static void removeRecentFile(const QString& path);

  signals:
    void changed(); // path or modified flag

  private:
    QString path_;
    bool modified_ = false;
};
