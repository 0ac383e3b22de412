#include "design/helpdialog.h"

#include "analysis/compatibility.h"
#include "checks/checks.h"
#include "checks/design.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
// A page that reads without scrolling sideways on a 1280×720 screen.
constexpr int helpWidth = 760;
constexpr int helpHeight = 560;
} // namespace

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("使用说明 - Tarvel");
    auto* layout = new QVBoxLayout(this);
    auto* text = new QTextBrowser;
    text->setObjectName("helpText");
    text->setOpenExternalLinks(false);
    text->setHtml(helpHtml());
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText("关闭");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(helpWidth, helpHeight);
}

namespace {

// A design with a tube alone: the steel parts, without the checks described on their own.
tarvel::DesignInput withDetailing() {
    tarvel::DesignInput design;
    design.detailing.emplace();
    return design;
}

} // namespace

QString HelpDialog::helpHtml() {
    const QString settings = QSettings("Tarvel", "Tarvel").fileName();
    QStringList steelParts;
    for (const tarvel::CheckDefinition& def : tarvel::checkDefinitions())
        if (def.needsDetailing && tarvel::checkApplies(def, withDetailing()))
            steelParts << QString::fromUtf8(def.title);
    return QString(
               "<h3>窗口</h3>"
               "<ul>"
               "<li><b>主窗口</b>（计算）：输入 P、M、d、D、n，点“计 算”得到 12 项结果；"
               "点“退  出”结束程序，有未保存的项目时先询问一次。</li>"
               "<li><b>设计验算</b>窗口：在主窗口按 Ctrl+D，或在主窗口空白处、示意图上点右键，"
               "选“设计验算…”。它跟随主窗口的每次计算，标题栏写明所用的分析方法。</li>"
               "<li><b>验算</b>页：锚栓、钢材、混凝土、βl、设计剪力 V、μ、分析方法与各项验算；"
               "<b>计算简图</b>页：所选方法的受压区、应力与锚栓拉力；<b>荷载组合</b>页：一个柱脚的"
               "全部荷载组合、全部计算与最不利组合；<b>优化选型</b>页：最轻的柱脚方案。</li>"
               "</ul>"
               "<h3>快捷键</h3>"
               "<table cellpadding=\"2\">"
               "<tr><td>Ctrl+D</td><td>打开设计验算窗口（主窗口中）</td></tr>"
               "<tr><td>Ctrl+E</td><td>导出计算书（PDF 或 HTML）</td></tr>"
               "<tr><td>Ctrl+P</td><td>打印计算书</td></tr>"
               "<tr><td>Ctrl+N / Ctrl+O / Ctrl+S / Ctrl+Shift+S</td>"
               "<td>新建 / 打开 / 保存 / 另存为项目</td></tr>"
               "<tr><td>Ctrl+Z</td><td>撤销（编辑 › 撤销）：荷载组合的编辑、删除、粘贴、导入与"
               "“采用”，焦点在哪里都可用；正在输入的文本框先撤销自己的输入</td></tr>"
               "<tr><td>Ctrl+Y 或 Ctrl+Shift+Z</td><td>重做</td></tr>"
               "<tr><td>Ctrl+W</td><td>关闭设计验算窗口</td></tr>"
               "<tr><td>F1</td><td>本说明</td></tr>"
               "<tr><td>双击、直接输入、F2</td><td>编辑荷载组合的单元格；回车结束编辑，Esc 放弃"
               "</td></tr>"
               "<tr><td>回车（未在编辑单元格时）</td><td>把当前荷载组合送到主窗口计算（也可用"
               "“在主窗口中计算”按钮或右键菜单）</td></tr>"
               "<tr><td>Ctrl+V / Del</td><td>粘贴行 / 删除行（焦点在荷载组合表中）</td></tr>"
               "</table>"
               "<h3>计算方法</h3>"
               "<p>先按直径 d 的实心圆截面作弹性预验算：全截面受拉时不予计算，否则得到受压区"
               "长度 x。然后逐级试算底板边缘应力 σmax 与最外侧锚栓拉力 T，取竖向力最接近平衡的"
               "状态。P 以受压为正，M 填正值（负值按绝对值计算，并在备注中注明）。</p>"
               "<h3>分析方法</h3>"
               "<ul>"
               "<li><b>弹性受压区法</b>：主窗口的计算，即上面的试算结果，验算用其文字。</li>"
               "<li><b>应变协调法</b>：底板视为刚性、平截面：混凝土只受压，锚栓（按模量比 nE "
               "乘有效面积）只受拉；除无平衡解的柱脚外，P 与 M 总能平衡；nE 默认按混凝土等级取 "
               "Es/Ec，也可填 "
               "%4～%5。</li>"
               "<li><b>包络</b>：两种方法都算，各项验算取较大的设计值，并注明取自哪种方法；"
               "弹性受压区法全截面受拉或平衡相对差超过 %1 % 时只用应变协调法。</li>"
               "</ul>"
               "<p>验算默认按<b>包络</b>：弹性受压区法不计锚栓刚度，常低估边缘承压应力，而与"
               "应变协调法（刚性底板）互不包含，故每项验算取两法中较不利者，备注注明由哪一方法"
               "控制。可在“分析方法”中另选其一。</p>"
               "<p>验算页“两种方法的计算结果”一栏并列弹性受压区法（搜索结果及其精确平衡解）与应变"
               "协调法的结果；验算表下一行按所用方法给出平衡校核的相对差，包络时两种方法各一行。"
               "钢管、柱底焊缝、锚固长度与构造不随分析方法变化，包络时注明“与分析方法无关”。</p>"
               "<h3>各项验算</h3>"
               "<ul>"
               "<li><b>锚栓抗拉</b>：T ≤ Ae·fta，Ae 为锚栓有效截面面积。</li>"
               "<li><b>混凝土承压</b>：σmax ≤ βl·fc。</li>"
               "<li><b>抗剪</b>：|V| ≤ μ·C，C 为底板压应力合力；荷载组合的 V 为空时取设计剪力 V。"
               "</li>"
               "<li><b>平衡校核</b>：竖向力之差 |ΣN − P| 以 max(|P|, C, F) 为基准、弯矩之差 "
               "|ΣM − M| 以 max(M, (C + F)·d/2000) 为基准，相对差不超过 %1 %。</li>"
               "<li><b>板件</b>：勾选“构造参数”并填写钢管 Dt×tw 等后另验算 %3。构造参数有误时，"
               "锚栓、承压、抗剪与平衡的验算照常显示，表上方写明板件缺什么。管内底板按周边简支于管壁的圆板验算，管内填充混凝土时不验算；"
               "构造一项含钢管径厚比、锚栓间距、螺母与扳手所需净距、焊缝最小长度与最大焊脚；"
               "柱底焊缝可选全熔透对接焊缝，按钢管截面等强验算。</li>"
               "<li><b>柱墩</b>：勾选“柱墩边长 B”后 βl = √(Ab/Al)，Ab = π/4·min(3d, B)²，"
               "不再取输入的 βl；B 不小于 d；构造另验算锚栓至柱墩边 (B − D)/2 ≥ max(4db, 150 mm)。"
               "</li>"
               "<li><b>抗剪键</b>（需钢管）：bk×hk×tk 为垂直于剪力的宽、底板下的高、沿剪力方向的"
               "厚；剪力全部由抗剪键承受（抗剪一项利用率为 0），另验算抗剪键承压 |V|/(bk·(hk − g))"
               " ≤ βl·fc、抗剪键强度与抗剪键焊缝，g 为灌浆层厚度。</li>"
               "<li><b>抗震极限承载力</b>（需钢管）：Mu,base ≥ ηj·Mpc，Mpc = Wpc·(fy − |P|/A)；"
               "Mu,base 按刚塑性：受压区混凝土取 fck 均匀分布，中和轴受拉一侧的锚栓取 fua·Ae。"
               "ηj 为 1.0～1.5（外露式柱脚 1.1）。</li>"
               "</ul>"
               "<p>d、D 不大于 0，或 n 不是正整数时，不作设计验算。数值框不接受负号的，"
               "输入负号时就地提示可填的范围。</p>"
               "<h3>荷载组合的粘贴与导入</h3>"
               "<p>Ctrl+V（或“粘贴”）读入从表格软件复制的一块，“导入 CSV…”读入文件（UTF-8 或 "
               "GB18030，逗号或制表符分隔）。有表头时按列名找列，次序不限，列名不分大小写，单位"
               "写在括号里或空格后，如 <code>N (kN)</code>、<code>Mx [kN·m]</code>：</p>"
               "<ul>"
               "<li>名称：名称、组合、荷载组合、name、combo、combination、case、LC；</li>"
               "<li>轴力 P：P、N、轴力，单位 N、kN、MN；</li>"
               "<li>弯矩 M：M、弯矩，或 Mx 与 My 两列（M = √(Mx² + My²)），单位 N·m、N·mm、"
               "kN·m、kN·mm、MN·m；</li>"
               "<li>剪力 V：V、剪力，或 Vx 与 Vy 两列，单位同轴力；</li>"
               "<li>d、D（mm）与 n：可有可无；表为空时取作本项目的柱脚，否则须与之相同。</li>"
               "</ul>"
               "<p>单位一律换算为 kN、kN·m。没有表头时按列数认：P,M | P,M,V | 名称,P,M | "
               "名称,P,M,V | P,M,d,D,n | P,M,d,D,n,V | 名称,P,M,d,D,n,V。按钮下的一行写明"
               "各列如何读入，行的提示写明该行的换算。</p>"
               "<p><b>轴力拉为正</b>：多数分析程序导出的轴力以受拉为正；勾选后粘贴和导入的 P "
               "取反，因本程序以受压为正。手工输入的单元格不受影响。</p>"
               "<h3>优化选型</h3>"
               "<p>在已填写构造参数（钢管）的项目上，按给定范围试算锚栓规格、个数、d、外伸 D−d、"
               "板厚、加劲肋高与焊脚，列出全部荷载组合下各项验算都满足的最轻方案（按钢材质量）。"
               "“采用”把选中的方案写到柱脚与构造参数上，作为一步，可用 Ctrl+Z 撤销。</p>"
               "<h3>文件与设置</h3>"
               "<p>项目文件（.tarvel）保存工程信息、柱脚 d、D、n、验算输入（含设计剪力 V、分析"
               "方法）、优化选型的范围和全部荷载组合；<code>tarvel-calc --project</code> 计算同一"
               "项目，<code>--shear</code> 可另给剪力。计算书的工程名称、构件编号、设计、校对取自"
               "打开的项目；没有项目时取自“计算书信息…”。导出计算书或 CSV 后，提示写到了哪个"
               "文件。</p>"
               "<p>窗口的验算输入、窗口位置、最近打开的项目和计算书信息保存在 %2。</p>")
        .arg(tarvel::equilibriumTolerance)
        .arg(settings.toHtmlEscaped(), steelParts.join("、"))
        .arg(tarvel::minModularRatio)
        .arg(tarvel::maxModularRatio);
}
