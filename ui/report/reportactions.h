#pragma once

#include "reportdata.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QPrinter;
class QWidget;

// The report's commands: 导出计算书… (PDF or HTML by the file's suffix), 打印…, 打印预览…
// and 计算书信息… (the title block, remembered). The source gives the report of what the
// window shows, or the reason there is none.
class ReportActions : public QObject {
    Q_OBJECT
  public:
    struct Source {
        std::optional<tarvel::report::ReportData> data;
        QString reason; // why there is nothing to report
    };
    ReportActions(QWidget* parent, std::function<Source()> source);

    // The open project: the title block is its header when one is open, else 计算书信息 as
    // remembered in the settings; the export dialog starts in the project's folder.
    struct ProjectLink {
        std::function<bool()> open;
        std::function<tarvel::report::ReportInfo()> info;
        std::function<void(const tarvel::report::ReportInfo&)> setInfo;
        std::function<QString()> folder; // empty when the project has no file
    };
    void setProjectLink(ProjectLink link) { project_ = std::move(link); }
    // The title block that applies now.
    tarvel::report::ReportInfo titleBlock() const;

    QAction* exportAction() const { return export_; }
    QAction* printAction() const { return print_; }
    QAction* previewAction() const { return preview_; }
    QAction* infoAction() const { return info_; }

  public slots:
    // Each returns whether the report went out; a failure has been shown to the user.
    bool exportReport();
    bool exportReportTo(const QString& path);
    bool printReport();
    bool previewReport();
    bool editInfo();

  private:
    std::optional<tarvel::report::ReportData> reportData();
    void showError(const QString& message);

    QWidget* parent_;
    std::function<Source()> source_;
    ProjectLink project_;
    QAction* export_;
    QAction* print_;
    QAction* preview_;
    QAction* info_;
};
