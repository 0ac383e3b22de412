#include "core/error.h"

namespace tarvel {

const char* inputCaption(InputField field) {
    switch (field) {
    case InputField::P:
        return "P(kN)";
    case InputField::M:
        return "M(kN)";
    case InputField::d:
        return "d(mm)";
    case InputField::D:
        return "D(mm)";
    case InputField::n:
        return "锚栓个数";
    case InputField::bolt:
        return "锚栓规格";
    case InputField::steel:
        return "锚栓钢材";
    case InputField::concrete:
        return "混凝土强度等级";
    case InputField::betaL:
        return "局部受压提高系数 βl";
    case InputField::V:
        return "剪力 V(kN)";
    case InputField::friction:
        return "摩擦系数 μ";
    case InputField::tube:
        return "钢管 Dt×tw(mm)";
    case InputField::tubeSteel:
        return "钢管钢材";
    case InputField::plate:
        return "底板厚度 tp(mm)";
    case InputField::plateSteel:
        return "板件钢材";
    case InputField::stiffener:
        return "加劲肋 ts×hs(mm)";
    case InputField::cap:
        return "锚栓顶板 tc×bc(mm)";
    case InputField::weld:
        return "柱底焊脚 hf(mm)";
    case InputField::stiffenerWeld:
        return "加劲肋焊脚 hfs(mm)";
    case InputField::electrode:
        return "焊条";
    case InputField::anchorage:
        return "锚固长度 la(mm)";
    case InputField::modularRatio:
        return "模量比 nE";
    case InputField::pedestal:
        return "柱墩边长 B(mm)";
    case InputField::plateHole:
        return "底板中心孔直径 dh(mm)";
    case InputField::shearKey:
        return "抗剪键 bk×hk×tk(mm)";
    case InputField::grout:
        return "灌浆层厚度 g(mm)";
    case InputField::shearKeyWeld:
        return "抗剪键焊脚 hfk(mm)";
    case InputField::etaJ:
        return "连接系数 ηj";
    case InputField::sizingBolts:
        return "锚栓规格列表";
    case InputField::sizingCounts:
        return "锚栓个数列表";
    case InputField::sizingD:
        return "底板受压直径 d 范围(mm)";
    case InputField::sizingOffset:
        return "锚栓中心圆外伸 D−d 范围(mm)";
    case InputField::sizingThicknesses:
        return "板厚列表(mm)";
    case InputField::sizingHeights:
        return "加劲肋高度 hs 范围(mm)";
    case InputField::sizingWelds:
        return "焊脚列表(mm)";
    case InputField::None:
        break;
    }
    return "";
}

const char* errorKindName(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::TypeMismatch:
        return "type mismatch";
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::SubscriptOutOfRange:
        return "subscript out of range";
    case ErrorKind::DivisionByZero:
        return "division by zero";
    case ErrorKind::OutOfRange:
        return "out of range";
    case ErrorKind::UnknownChoice:
        return "unknown choice";
    case ErrorKind::BadProjectFile:
        return "bad project file";
    }
    return "";
}

} // namespace tarvel
