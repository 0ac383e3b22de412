#include "project/projectdocument.h"

#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

namespace {

constexpr const char* recentKey = "project/recentFiles";

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

ProjectDocument::ProjectDocument(QObject* parent) : QObject(parent) {}

QString ProjectDocument::displayName() const {
    return path_.isEmpty() ? QString("未命名") : QFileInfo(path_).fileName();
}

void ProjectDocument::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    emit changed();
}

void ProjectDocument::reset() {
    path_.clear();
    modified_ = false;
    emit changed();
}

std::optional<tarvel::Project> ProjectDocument::read(const QString& path, QString* error) {
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        *error = QString("找不到项目文件 %1").arg(nativePath(path));
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString("无法打开项目文件 %1：%2").arg(nativePath(path), file.errorString());
        return std::nullopt;
    }
    // A file far beyond any project is refused before it is read into memory: one byte more
    // than the limit is enough for the engine to name the problem.
    const QByteArray bytes = file.read(static_cast<qint64>(tarvel::maxProjectBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = QString("无法读取项目文件 %1：%2").arg(nativePath(path), file.errorString());
        return std::nullopt;
    }
    try {
        return tarvel::parseProject(std::string_view(bytes.constData(), bytes.size()));
    } catch (const tarvel::TarvelError& e) {
        *error = QString("无法打开 %1：\n%2").arg(nativePath(path), QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

bool ProjectDocument::write(const QString& path, const tarvel::Project& project, QString* error) {
    const std::string bytes = tarvel::serializeProject(project);
    QSaveFile file(path);
    const QString folder = nativePath(QFileInfo(path).absolutePath());
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QString("无法保存到 %1：文件夹 %2 不可写（%3）。原有文件未改动。")
                     .arg(nativePath(path), folder, file.errorString());
        return false;
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        *error =
            QString("保存 %1 失败：%2。原有文件未改动。").arg(nativePath(path), file.errorString());
        return false;
    }
    return true;
}

std::optional<tarvel::Project> ProjectDocument::open(const QString& path, QString* error) {
    std::optional<tarvel::Project> project = read(path, error);
    if (!project) return std::nullopt;
    path_ = QFileInfo(path).absoluteFilePath();
    modified_ = false;
    addRecentFile(path_);
    emit changed();
    return project;
}

bool ProjectDocument::save(const QString& path, const tarvel::Project& project, QString* error) {
    if (!write(path, project, error)) return false;
    path_ = QFileInfo(path).absoluteFilePath();
    modified_ = false;
    addRecentFile(path_);
    emit changed();
    return true;
}

QStringList ProjectDocument::recentFiles() {
    return QSettings(tarvel::settingsOrganisation, tarvel::settingsApplication)
        .value(recentKey)
        .toStringList();
}

void ProjectDocument::addRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > maxRecentFiles)
        files.removeLast();
    QSettings(tarvel::settingsOrganisation, tarvel::settingsApplication).setValue(recentKey, files);
}

void ProjectDocument::removeRecentFile(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    QSettings(tarvel::settingsOrganisation, tarvel::settingsApplication).setValue(recentKey, files);
}
