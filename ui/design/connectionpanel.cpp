#include "design/connectionpanel.h"

#include "checks/bearingarea.h"
#include "checks/plasticbase.h"
#include "project/designinputs.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// mm: where the pedestal field starts before one is typed.
constexpr double defaultPedestal = 2400;
QDoubleSpinBox* spin(double low, double high, int decimals, const char* suffix) {
    auto* s = new QDoubleSpinBox;
    s->setRange(low, high);
    s->setDecimals(decimals);
    s->setSuffix(QString::fromUtf8(suffix));
    return s;
}

} // namespace

ConnectionPanel::ConnectionPanel(QWidget* parent)
    : QGroupBox("柱墩、抗剪键与抗震", parent), pedestalOn_(new QCheckBox("柱墩边长 B")),
      pedestal_(spin(1, tarvel::maxPedestal, 0, " mm")), betaL_(new QLabel),
      keyOn_(new QCheckBox("抗剪键 bk×hk×tk")), key_(new QLineEdit),
      grout_(spin(0, tarvel::maxGrout, 1, " mm")),
      keyWeld_(spin(1, tarvel::maxPlateThickness, 1, " mm")),
      seismicOn_(new QCheckBox("抗震验算 ηj")),
      etaJ_(spin(tarvel::minEtaJ, tarvel::maxEtaJ, 2, "")) {
    setObjectName("connectionPanel");
    pedestalOn_->setObjectName("pedestalCheck");
    pedestal_->setObjectName("pedestalSpin");
    betaL_->setObjectName("pedestalBetaLabel");
    keyOn_->setObjectName("shearKeyCheck");
    key_->setObjectName("shearKeyEdit");
    key_->setPlaceholderText("300x200x30");
    grout_->setObjectName("groutSpin");
    keyWeld_->setObjectName("shearKeyWeldSpin");
    seismicOn_->setObjectName("seismicCheck");
    etaJ_->setObjectName("etaJSpin");
    etaJ_->setSingleStep(0.05);
    seismicOn_->setToolTip("Mu,base ≥ ηj·Mpc（需构造参数中的钢管）");
    keyOn_->setToolTip("剪力全部由抗剪键承受，不计摩擦（需构造参数中的钢管）");

    auto* form = new QFormLayout(this);
    form->addRow(pedestalOn_, pedestal_);
    form->addRow("", betaL_);
    form->addRow(keyOn_, key_);
    form->addRow("灌浆层厚度 g", grout_);
    form->addRow("抗剪键焊脚 hfk", keyWeld_);
    form->addRow(seismicOn_, etaJ_);

    tarvel::DesignInput defaults;
    defaults.detailing.emplace();
    setFrom(defaults);
    // A pedestal turned on starts from a size a base of the usual plate would stand on.
    pedestal_->setValue(defaultPedestal);
    auto emitChanged = [this] {
        showBetaL();
        if (!filling_) emit changed();
    };
    for (QCheckBox* box : {pedestalOn_, keyOn_, seismicOn_})
        connect(box, &QCheckBox::toggled, this, emitChanged);
    for (QDoubleSpinBox* s : {pedestal_, grout_, keyWeld_, etaJ_})
        connect(s, &QDoubleSpinBox::valueChanged, this, emitChanged);
    connect(key_, &QLineEdit::textChanged, this, emitChanged);
}

void ConnectionPanel::apply(tarvel::DesignInput& in) const {
    in.pedestal.reset();
    if (pedestalOn_->isChecked()) in.pedestal = pedestal_->value();
    in.seismic.reset();
    if (seismicOn_->isChecked()) in.seismic = tarvel::DesignInput::Seismic{etaJ_->value()};
    if (in.detailing) {
        in.detailing->shearKey = keyOn_->isChecked() ? key_->text().trimmed().toStdString() : "";
        in.detailing->grout = grout_->value();
        in.detailing->shearKeyWeld = keyWeld_->value();
    }
}

void ConnectionPanel::setFrom(const tarvel::DesignInput& in) {
    filling_ = true;
    pedestalOn_->setChecked(in.pedestal.has_value());
    if (in.pedestal) pedestal_->setValue(*in.pedestal);
    seismicOn_->setChecked(in.seismic.has_value());
    etaJ_->setValue(in.seismic ? in.seismic->etaJ : tarvel::defaultEtaJ);
    const bool key = in.detailing && !in.detailing->shearKey.empty();
    keyOn_->setChecked(key);
    // Turned off, the fields keep what was typed for the next time.
    if (key) key_->setText(QString::fromStdString(in.detailing->shearKey));
    if (in.detailing) {
        grout_->setValue(in.detailing->grout);
        keyWeld_->setValue(in.detailing->shearKeyWeld);
    }
    filling_ = false;
    showBetaL();
}

void ConnectionPanel::setBearingDiameter(double d) {
    d_ = d;
    showBetaL();
}

void ConnectionPanel::showBetaL() {
    pedestal_->setEnabled(pedestalOn_->isChecked());
    key_->setEnabled(keyOn_->isChecked());
    grout_->setEnabled(keyOn_->isChecked());
    keyWeld_->setEnabled(keyOn_->isChecked());
    etaJ_->setEnabled(seismicOn_->isChecked());
    if (!pedestalOn_->isChecked()) {
        betaL_->setText("βl 取输入值");
    } else if (d_ > 0 && pedestal_->value() >= d_) {
        betaL_->setText(QStringLiteral("βl = √(Ab/Al) = %1（d = %2 mm）")
                            .arg(tarvel::pedestalBetaL(d_, pedestal_->value()), 0, 'f', 2)
                            .arg(d_));
    } else if (d_ > 0) {
        betaL_->setText(QStringLiteral("B 应不小于 d = %1 mm").arg(d_));
    } else {
        betaL_->setText("βl 由柱墩计算（计算后显示）");
    }
}
