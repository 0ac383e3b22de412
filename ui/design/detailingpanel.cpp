#include "design/detailingpanel.h"

#include "checks/design.h"
#include "core/number.h"
#include "project/designinputs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {

QDoubleSpinBox* millimetres(double low, double high) {
    auto* spin = new QDoubleSpinBox;
    spin->setRange(low, high);
    spin->setDecimals(1);
    spin->setSuffix(" mm");
    return spin;
}

template <class Row> QComboBox* choices(const std::vector<Row>& rows) {
    auto* combo = new QComboBox;
    for (const Row& row : rows)
        combo->addItem(QString::fromUtf8(row.name));
    return combo;
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

DetailingPanel::DetailingPanel(QWidget* parent)
    : QGroupBox("构造参数（验算板件）", parent), tube_(new QLineEdit),
      tubeSteel_(choices(tarvel::plateSteels())), plate_(millimetres(1, tarvel::maxPlateThickness)),
      plateSteel_(choices(tarvel::plateSteels())), stiffener_(new QLineEdit), cap_(new QLineEdit),
      weld_(millimetres(1, tarvel::maxPlateThickness)),
      stiffenerWeld_(millimetres(1, tarvel::maxPlateThickness)),
      electrode_(choices(tarvel::electrodes())), anchorage_(millimetres(1, tarvel::maxAnchorage)),
      hole_(millimetres(0, tarvel::maxPedestal)), infill_(new QCheckBox("管内填充混凝土")),
      fullWeld_(new QCheckBox("柱底全熔透对接焊缝")) {
    setObjectName("detailingPanel");
    setCheckable(true);
    setChecked(false);
    tube_->setObjectName("tubeEdit");
    tube_->setPlaceholderText("1020x16");
    tubeSteel_->setObjectName("tubeSteelCombo");
    plate_->setObjectName("plateSpin");
    plateSteel_->setObjectName("plateSteelCombo");
    stiffener_->setObjectName("stiffenerEdit");
    cap_->setObjectName("capEdit");
    weld_->setObjectName("weldSpin");
    stiffenerWeld_->setObjectName("stiffenerWeldSpin");
    electrode_->setObjectName("electrodeCombo");
    anchorage_->setObjectName("anchorageSpin");
    hole_->setObjectName("plateHoleSpin");
    hole_->setToolTip("底板中心孔直径 dh，0 为不开孔；开孔时承压面为环形，不用弹性受压区法");
    infill_->setObjectName("infillCheck");
    fullWeld_->setObjectName("fullWeldCheck");

    auto* form = new QFormLayout(this);
    form->addRow("钢管 Dt×tw(mm)", tube_);
    form->addRow("钢管钢材", tubeSteel_);
    form->addRow("底板厚度 tp", plate_);
    form->addRow("底板中心孔 dh", hole_);
    form->addRow("板件钢材", plateSteel_);
    form->addRow("加劲肋 ts×hs(mm)", stiffener_);
    form->addRow("锚栓顶板 tc×bc(mm)", cap_);
    form->addRow("柱底焊脚 hf", weld_);
    form->addRow(QString(), fullWeld_);
    form->addRow("加劲肋焊脚 hfs", stiffenerWeld_);
    form->addRow("焊条", electrode_);
    form->addRow("锚固长度 la", anchorage_);
    form->addRow(QString(), infill_);

    fill(tarvel::DetailingInput{});
    auto emitChanged = [this] {
        if (!filling_) emit changed();
    };
    connect(this, &QGroupBox::toggled, this, emitChanged);
    for (QLineEdit* edit : {tube_, stiffener_, cap_})
        connect(edit, &QLineEdit::textChanged, this, emitChanged);
    for (QComboBox* combo : {tubeSteel_, plateSteel_, electrode_})
        connect(combo, &QComboBox::currentIndexChanged, this, emitChanged);
    for (QDoubleSpinBox* spin : {plate_, hole_, weld_, stiffenerWeld_, anchorage_})
        connect(spin, &QDoubleSpinBox::valueChanged, this, emitChanged);
    for (QCheckBox* check : {infill_, fullWeld_})
        connect(check, &QCheckBox::toggled, this, emitChanged);
    // A butt weld has no leg.
    connect(fullWeld_, &QCheckBox::toggled, weld_, &QWidget::setDisabled);
}

std::optional<tarvel::DetailingInput> DetailingPanel::detailing() const {
    if (!isChecked()) return std::nullopt;
    tarvel::DetailingInput t;
    t.tube = tube_->text().trimmed().toStdString();
    t.tubeSteel = tubeSteel_->currentText().toStdString();
    t.plate = plate_->value();
    t.plateSteel = plateSteel_->currentText().toStdString();
    t.stiffener = stiffener_->text().trimmed().toStdString();
    t.cap = cap_->text().trimmed().toStdString();
    t.weld = weld_->value();
    t.stiffenerWeld = stiffenerWeld_->value();
    t.electrode = electrode_->currentText().toStdString();
    t.anchorage = anchorage_->value();
    t.infill = infill_->isChecked();
    t.fullPenetration = fullWeld_->isChecked();
    return t;
}

void DetailingPanel::setDetailing(const std::optional<tarvel::DetailingInput>& detailing) {
    filling_ = true;
    setChecked(detailing.has_value());
    // Turned off, the panel keeps what was typed for the next time.
    if (detailing) fill(*detailing);
    filling_ = false;
}

double DetailingPanel::plateHole() const {
    return isChecked() ? hole_->value() : 0;
}

void DetailingPanel::setPlateHole(double hole) {
    filling_ = true;
    hole_->setValue(hole);
    filling_ = false;
}

bool DetailingPanel::owns(tarvel::InputField field) {
    using F = tarvel::InputField;
    for (F f : {F::tube, F::tubeSteel, F::plate, F::plateHole, F::plateSteel, F::stiffener, F::cap,
                F::weld, F::stiffenerWeld, F::electrode, F::anchorage})
        if (f == field) return true;
    return false;
}

QString DetailingPanel::describe(const tarvel::TarvelError& error) const {
    using F = tarvel::InputField;
    const QString why = QString::fromUtf8(error.what());
    // The two numbers of a size box: which is a thickness, and the name of each.
    struct Pair {
        F field;
        const QLineEdit* edit;
        const char *first, *second, *example;
        bool thicknessFirst;
    };
    const Pair pairs[] = {{F::tube, tube_, "外径 Dt", "壁厚 tw", "1020x16", false},
                          {F::stiffener, stiffener_, "厚度 ts", "高度 hs", "20x400", true},
                          {F::cap, cap_, "厚度 tc", "宽度 bc", "30x240", true}};
    for (const Pair& pair : pairs) {
        if (pair.field != error.field()) continue;
        const QString caption = QString::fromUtf8(tarvel::inputCaption(pair.field));
        const QString typed = pair.edit->text().trimmed();
        if (typed.isEmpty()) return QString("未填写「%1」（如 %2）").arg(caption, pair.example);
        tarvel::SizePair size;
        try {
            size = tarvel::parseSizePair(typed.toStdString(), pair.field);
        } catch (const tarvel::TarvelError&) {
            return why;
        }
        const double thickness = pair.thicknessFirst ? size.a : size.b;
        const double other = pair.thicknessFirst ? size.b : size.a;
        auto number = [](double v) { return QString::fromStdString(tarvel::numberToText(v)); };
        if (!(thickness > 0 && thickness <= tarvel::maxPlateThickness))
            return QString("「%1」的%2 = %3 mm 应大于 0 且不大于 %4 mm")
                .arg(caption, pair.thicknessFirst ? pair.first : pair.second, number(thickness),
                     number(tarvel::maxPlateThickness));
        if (!(other > 0))
            return QString("「%1」的%2 = %3 mm 应大于 0")
                .arg(caption, pair.thicknessFirst ? pair.second : pair.first, number(other));
    }
    return why;
}

void DetailingPanel::fill(const tarvel::DetailingInput& t) {
    tube_->setText(text(t.tube));
    tubeSteel_->setCurrentText(text(t.tubeSteel));
    plate_->setValue(t.plate);
    plateSteel_->setCurrentText(text(t.plateSteel));
    stiffener_->setText(text(t.stiffener));
    cap_->setText(text(t.cap));
    weld_->setValue(t.weld);
    stiffenerWeld_->setValue(t.stiffenerWeld);
    electrode_->setCurrentText(text(t.electrode));
    anchorage_->setValue(t.anchorage);
    infill_->setChecked(t.infill);
    fullWeld_->setChecked(t.fullPenetration);
}
