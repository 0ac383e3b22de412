#include "design/helpdialog.h"

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

QString HelpDialog::helpHtml() {
    const QString settings = QSettings("Tarvel", "Tarvel").fileName();
    QStringList steelParts;
    for (const tarvel::CheckDefinition& def : tarvel::checkDefinitions())
        if (def.needsDetailing) steelParts << QString::fromUtf8(def.title);
    return QString(
               "<h3>窗口</h3>"
               "<ul>"
               "<li><b>主窗口</b>（计算）：输入 P、M、d、D、n，点“计 算”得到 12 项结果；"
               "点“退  出”结束程序，有未保存的项目时先询问一次。</li>"
               "<li><b>设计验算</b>窗口：在主窗口按 Ctrl+D，或在主窗口空白处、示意图上点右键，"
               "选“设计验算…”。它跟随主窗口的每次计算。</li>"
               "<li><b>验算</b>页：锚栓、钢材、混凝土、βl、设计剪力 V、μ 与各项验算；"
               "<b>计算简图</b>页：受压区、应力与锚栓拉力；<b>荷载组合</b>页：一个柱脚的全部"
               "荷载组合、全部计算与最不利组合。</li>"
               "</ul>"
               "<h3>快捷键</h3>"
               "<table cellpadding=\"2\">"
               "<tr><td>Ctrl+D</td><td>打开设计验算窗口（主窗口中）</td></tr>"
               "<tr><td>Ctrl+E</td><td>导出计算书（PDF 或 HTML）</td></tr>"
               "<tr><td>Ctrl+P</td><td>打印计算书</td></tr>"
               "<tr><td>Ctrl+N / Ctrl+O / Ctrl+S / Ctrl+Shift+S</td>"
               "<td>新建 / 打开 / 保存 / 另存为项目</td></tr>"
               "<tr><td>Ctrl+W</td><td>关闭设计验算窗口</td></tr>"
               "<tr><td>F1</td><td>本说明</td></tr>"
               "<tr><td>双击、直接输入、F2</td><td>编辑荷载组合的单元格</td></tr>"
               "<tr><td>回车</td><td>把当前荷载组合送到主窗口计算（也可用“在主窗口中计算”"
               "按钮或右键菜单）</td></tr>"
               "<tr><td>Ctrl+V / Delete / Ctrl+Z / Ctrl+Y</td>"
               "<td>粘贴行 / 删除行 / 撤销 / 重做</td></tr>"
               "</table>"
               "<h3>计算方法</h3>"
               "<p>先按直径 d 的实心圆截面作弹性预验算：全截面受拉时不予计算，否则得到受压区"
               "长度 x。然后逐级试算底板边缘应力 σmax 与最外侧锚栓拉力 T，取竖向力最接近平衡的"
               "状态。P 以受压为正，M 填正值（负值按绝对值计算，并在备注中注明）。</p>"
               "<p>验算默认按<b>包络</b>：弹性受压区法不计锚栓刚度，常低估边缘承压应力，而与"
               "应变协调法（刚性底板）互不包含，故每项验算取两法中较不利者，备注注明由哪一方法"
               "控制。可在“分析方法”中另选其一。</p>"
               "<h3>各项验算</h3>"
               "<ul>"
               "<li><b>锚栓抗拉</b>：T ≤ Ae·fta，Ae 为锚栓有效截面面积。</li>"
               "<li><b>混凝土承压</b>：σmax ≤ βl·fc。</li>"
               "<li><b>抗剪</b>：|V| ≤ μ·C，C 为底板压应力合力；荷载组合的 V 为空时取设计剪力 V。"
               "</li>"
               "<li><b>平衡校核</b>：竖向力之差 |ΣN − P| 以 max(|P|, C, F) 为基准、弯矩之差 "
               "|ΣM − M| 以 max(M, (C + F)·d/2000) 为基准，相对差不超过 %1 %。</li>"
               "<li><b>板件</b>：给出钢管等构造参数后另验算 %3。管内底板按周边简支于管壁的圆板"
               "验算，管内填充混凝土时不验算；构造一项含钢管径厚比、锚栓间距、螺母与扳手所需"
               "净距、焊缝最小长度与最大焊脚。</li>"
               "</ul>"
               "<p>d、D 不大于 0，或 n 不是正整数时，不作设计验算。</p>"
               "<h3>文件与设置</h3>"
               "<p>项目文件（.tarvel）保存工程信息、柱脚 d、D、n、验算输入（含设计剪力 V）和"
               "全部荷载组合；<code>tarvel-calc --project</code> 计算同一项目，"
               "<code>--shear</code> 可另给剪力。计算书的工程名称、构件编号、设计、校对取自打开"
               "的项目；没有项目时取自“计算书信息…”。</p>"
               "<p>窗口的验算输入、最近打开的项目和计算书信息保存在 %2。</p>")
        .arg(tarvel::equilibriumTolerance)
        .arg(settings.toHtmlEscaped(), steelParts.join("、"));
}
