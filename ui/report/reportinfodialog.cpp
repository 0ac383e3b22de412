#include "report/reportinfodialog.h"

ReportInfoDialog::ReportInfoDialog(QWidget* parent) : QDialog(parent) {
    ui_.setupUi(this);
    connect(ui_.buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui_.buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ReportInfoDialog::setInfo(const tarvel::report::ReportInfo& info) {
    ui_.project->setText(info.project);
    ui_.member->setText(info.member);
    ui_.designer->setText(info.designer);
    ui_.checker->setText(info.checker);
}

tarvel::report::ReportInfo ReportInfoDialog::info() const {
    return {ui_.project->text().trimmed(), ui_.member->text().trimmed(),
            ui_.designer->text().trimmed(), ui_.checker->text().trimmed()};
}
