#pragma once

#include "ui_reportinfodialog.h"

#include "reportdata.h"

#include <QDialog>

// 计算书信息: the report's title block (工程名称, 构件编号, 设计, 校对).
class ReportInfoDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ReportInfoDialog(QWidget* parent = nullptr);

    void setInfo(const tarvel::report::ReportInfo& info);
    tarvel::report::ReportInfo info() const;

  private:
    Ui::ReportInfoDialog ui_;
};
