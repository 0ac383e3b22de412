#include "design/femboxes.h"

#include "analysis/fem/basefem.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSignalBlocker>

namespace {

QDoubleSpinBox* millimetres(const char* name, double high, int decimals, double step,
                            const QString& tip) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(name);
    // 0 is the default; a value between it and the least allowed is raised to the least.
    box->setRange(0, high);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    box->setSuffix(" mm");
    box->setSpecialValueText("默认");
    // The value counts when typing ends, so that the first digits of 15 are not raised to 10.
    box->setKeyboardTracking(false);
    box->setToolTip(tip);
    return box;
}

} // namespace

FemBoxes::FemBoxes(QFormLayout* form, QObject* parent)
    : QObject(parent), form_(form),
      depth_(millimetres("femDepthSpin", tarvel::fem::maxDepth, 1, 10,
                         "板有限元法的计算深度 h_e：混凝土地基 k = Ec/h_e，锚栓 kb = Es·Ae/h_e；"
                         "10～1e9 mm，默认 d/2")),
      mesh_(millimetres("femMeshSpin", tarvel::fem::maxMesh, 2, 1,
                        "板有限元法的网格尺寸 h：2～100 mm，默认 min(25 mm, 底板厚度)；"
                        "钢管壁、受压面边缘、加劲肋处加密")) {
    form->addRow("深度 h_e", depth_);
    form->addRow("网格尺寸 h", mesh_);
    connect(depth_, &QDoubleSpinBox::valueChanged, this,
            [this] { settle(depth_, tarvel::fem::minDepth); });
    connect(mesh_, &QDoubleSpinBox::valueChanged, this,
            [this] { settle(mesh_, tarvel::fem::minMesh); });
}

void FemBoxes::settle(QDoubleSpinBox* box, double least) {
    if (box->value() > 0 && box->value() < least) {
        // Raised, which comes back here with the value that counts.
        box->setValue(least);
        return;
    }
    emit changed();
}

void FemBoxes::apply(tarvel::DesignInput& design) const {
    design.femDepth = depth_->value();
    design.femMesh = mesh_->value();
}

void FemBoxes::setFrom(const tarvel::DesignInput& design) {
    const QSignalBlocker blockDepth(depth_), blockMesh(mesh_);
    depth_->setValue(design.femDepth);
    mesh_->setValue(design.femMesh);
}

void FemBoxes::setMethod(tarvel::AnalysisMethod method) {
    // The captions grey with their boxes, so that the rows read as not in use.
    for (QDoubleSpinBox* box : {depth_, mesh_}) {
        box->setEnabled(method == tarvel::AnalysisMethod::Fem);
        if (QWidget* caption = form_->labelForField(box))
            caption->setEnabled(method == tarvel::AnalysisMethod::Fem);
    }
}
