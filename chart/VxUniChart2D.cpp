#include "chart/VxUniChart2D.h"
#include "chart/VxUniChart2DEditorUnit.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>

#include <algorithm>

namespace {

// The chart's own queued request to fit field and axes (see RequestFit).
constexpr int CM_CHART_FIT = 0xB067;

const QColor kCaptionColor(192, 192, 192);

// Bevel widths and gaps are bytes.
int ToByte(int v)
{
    return std::clamp(v, 0, 255);
}

VxChartLayoutAxis LayoutAxis(const VxChartBaseAxisClassData *axis)
{
    VxChartLayoutAxis a;
    a.Vertical = axis->AxisType() == vxcbatVertical;
    a.CenterPointLeft = axis->CenterPointLeft();
    a.CenterPointTop = axis->CenterPointTop();
    a.Length = axis->Length();
    a.Thickness = a.Vertical ? axis->Width() : axis->Height();
    a.BeginShift = axis->BeginShift();
    a.EndShift = axis->EndShift();
    a.Visible = axis->Visible();
    a.Labels = axis->Control()->LabelExtent();
    return a;
}

void SetFontSize(VxChartBaseTextClassData *box, int points)
{
    QFont f = box->Font();
    f.setPointSize(points);
    box->SetFont(f);
}

// Same place as far as the anchors see: orientation, centre point, length.
bool SameAxisPlace(const VxChartLayoutAxis &a, const VxChartLayoutAxis &b)
{
    return a.Vertical == b.Vertical && a.CenterPointLeft == b.CenterPointLeft && a.CenterPointTop == b.CenterPointTop
           && a.Length == b.Length;
}

// Gives a text box a new place, keeping its size.
void MoveBox(VxChartBaseTextClassData *box, const QRect &r)
{
    if (VxChartBaseTextClass *c = box->Control())
        c->SetBounds(r.left(), r.top(), c->Width(), c->Height());
}

} // namespace

// ---------------------------------------------------------------------------
// Inner panel

TVxChartInnerPanel::TVxChartInnerPanel(TVxUniChart2D *chart) : QWidget(chart), m_chart(chart)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TVxChartInnerPanel::~TVxChartInnerPanel() = default;

void TVxChartInnerPanel::Assign(const TVxChartInnerPanel &) {}

void TVxChartInnerPanel::PostRelayout()
{
    if (m_relayoutQueued)
        return;
    // A post is refused only when there is no chart to take it; pending
    // events are processed between the attempts, and the attempts end when
    // the chart is gone.
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts && m_chart; ++attempt) {
        if (vxChartPost(m_chart, CM_CHART_RELAYOUT, this, 1)) {
            m_relayoutQueued = true;
            return;
        }
        QCoreApplication::processEvents();
    }
}

bool TVxChartInnerPanel::event(QEvent *e)
{
    if (VxChartMessageEvent *m = vxChartMessage(e)) {
        ChartMessage(*m);
        return true;
    }
    return QWidget::event(e);
}

void TVxChartInnerPanel::Forward(VxChartMessageEvent &m)
{
    TVxUniChart2D *chart = m_chart.data();
    if (chart && chart->HandleReady() && !chart->m_destroying)
        QCoreApplication::sendEvent(chart, &m);
}

void TVxChartInnerPanel::ChartMessage(VxChartMessageEvent &m)
{
    TVxUniChart2D *chart = m_chart.data();
    const bool ready = chart && chart->HandleReady() && !chart->m_destroying;
    switch (m.msg()) {
    case CM_AXIS_FONTCHANGED:
        ShareAxisFont(m.element());
        break;
    case CM_AXIS_TYPECHANGED:
        PostRelayout();
        break;
    case CM_AXIS_MOVED:
    case CM_AXIS_RESIZED:
        if (ready) {
            vxChartSend(chart, CM_CHART_RELAYOUT, this);
            Forward(m);
        } else {
            m_pendingFit = CM_AXIS_MOVED;
        }
        break;
    case CM_AXIS_SCALECHANGED:
        if (chart && chart->MainField())
            m.setOther(chart->MainField()->Control());
        Forward(m);
        break;
    case CM_FIELD_MOVED:
    case CM_FIELD_RESIZED:
        if (ready)
            Forward(m);
        else
            m_pendingFit = CM_FIELD_MOVED;
        break;
    case CM_AXIS_DBLCLICK:
    case CM_FIELD_ZOOM:
    case CM_LINES_CHANGED:
    case CM_ELEMENT_DBLCLICK:
        Forward(m);
        break;
    case CM_ELEMENT_BOUNDS:
        // A caption that changed size by itself (not under the mouse) makes
        // the chart arrange the captions again.
        if (qobject_cast<VxChartBaseTextClass *>(m.element()) && m.value() != 0)
            PostRelayout();
        break;
    default: // CM_AXIS_CLICKED and anything else: nothing to do
        break;
    }
}

void TVxChartInnerPanel::ShareAxisFont(QObject *sender)
{
    const auto *source = qobject_cast<VxChartBaseAxisClass *>(sender);
    if (!source || source->parentWidget() != this)
        return;
    const QFont font = source->Font();
    const QColor color = source->FontColor();
    for (QObject *child : children()) {
        auto *axis = qobject_cast<VxChartBaseAxisClass *>(child);
        if (!axis || axis == source)
            continue;
        if (axis->Font() != font)
            axis->SetFont(font);
        if (axis->FontColor() != color)
            axis->SetFontColor(color);
    }
}

void TVxChartInnerPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_chart)
        vxChartSend(m_chart, CM_CHART_ERASEPANEL, this, reinterpret_cast<qintptr>(&p));
}

void TVxChartInnerPanel::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    PostRelayout();
}

void TVxChartInnerPanel::mousePressEvent(QMouseEvent *e)
{
    QWidget::mousePressEvent(e);
    // Presses that an element let through arrive here too: only a press on
    // the bare panel deselects.
    if (childAt(e->position().toPoint()))
        return;
    for (QObject *child : children()) {
        if (auto *text = qobject_cast<VxChartBaseTextClass *>(child))
            text->Select(false);
        else if (auto *field = qobject_cast<VxChartBaseLinesClass *>(child))
            field->Select(false);
    }
}

// ---------------------------------------------------------------------------
// Chart

TVxUniChart2D::TVxUniChart2D(QWidget *owner) : QWidget(owner)
{
    // A chart embedded in a program gets its element editors even when the
    // program links nothing else of the editor unit.
    VxChartInstallEditors();
    resize(200, 200);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_imageList = new VxChartImageList(this);
    m_panel = new TVxChartInnerPanel(this);
    m_oldSize = QSize(0, 0);
    m_sizeChange = QSize(0, 0);
    PlacePanel();

    m_mainField = new VxChartBaseLinesClassData(m_panel, this);
    m_xAxis = new VxChartBaseAxisClassData(m_panel, this);
    m_yAxis = new VxChartBaseAxisClassData(m_panel, this);
    m_yAxis2 = new VxChartBaseAxisClassData(m_panel, this);
    m_xCaption = new VxChartBaseTextClassData(m_panel, this);
    m_yCaption = new VxChartBaseTextClassData(m_panel, this);
    m_yCaption2 = new VxChartBaseTextClassData(m_panel, this);
    m_linesField = new VxChartBaseTextClassData(m_panel, this);
    m_mainCaption = new VxChartBaseTextClassData(m_panel, this);
    m_userTextField = new VxChartBaseTextClassData(m_panel, this);

    const QSize P = m_panel->size();

    // Axes: the origin 40 pixels in from the bottom-left corner.
    m_xAxis->SetCenterPointTop(P.height() - 40);
    m_xAxis->SetCenterPointLeft(40);
    m_yAxis->SetCenterPointTop(P.height() - 40);
    m_yAxis->SetCenterPointLeft(40);
    m_yAxis2->SetCenterPointTop(P.height() - 40);
    m_yAxis->SetAxisType(vxcbatVertical);
    m_yAxis2->SetAxisType(vxcbatVertical);
    m_xAxis->SetLength(P.width() - 80);
    m_yAxis2->SetCenterPointLeft(m_xAxis->Width() + 40);
    m_yAxis->SetLength(P.height() - 80);
    m_yAxis2->SetLength(P.height() - 80);
    m_yAxis2->SetVisible(false);

    FitFieldToAxes();
    m_fittedField = m_mainField->Control()->geometry();
    m_fittedAxes = VxChartFieldFromAxes(LayoutAxis(m_xAxis), LayoutAxis(m_yAxis));

    m_xCaption->SetTop(P.height() - 30);
    m_xCaption->SetLeft(50);
    m_yCaption->SetLeft(0);
    m_yCaption->SetTop(50);
    m_yCaption->SetTextOrientation(vxcbto_90_Degrees);
    m_xCaption->SetText(QStringLiteral("<U>X Caption"));
    m_yCaption->SetText(QStringLiteral("<U>Y Caption"));
    for (VxChartBaseTextClassData *c : {m_xCaption, m_yCaption}) {
        c->SetColor(kCaptionColor);
        c->SetBorderStyle(vxcbbsUp);
        c->SetTransparent(true);
    }

    m_yCaption2->SetLeft(m_yAxis2->Left() + m_yAxis2->Width());
    m_yCaption2->SetTop(50);
    m_yCaption2->SetTextOrientation(vxcbto_90_Degrees);
    m_yCaption2->SetText(QStringLiteral("<U>Y Caption 2"));
    m_yCaption2->SetColor(kCaptionColor);
    m_yCaption2->SetBorderStyle(vxcbbsUp);
    m_yCaption2->SetTransparent(true);
    m_yCaption2->SetVisible(false);
    for (VxChartBaseTextClassData *c : {m_xCaption, m_yCaption, m_yCaption2}) {
        c->SetInnerGap(2);
        c->SetOuterGap(2);
    }

    m_mainCaption->SetTop(0);
    m_mainCaption->SetText(QStringLiteral("<B>Main Caption"));
    m_mainCaption->SetColor(kCaptionColor);
    m_mainCaption->SetTransparent(true);
    SetFontSize(m_mainCaption, 14);
    m_mainCaption->SetLeft((P.width() - m_mainCaption->Width()) / 2);
    m_mainCaption->SetBorderStyle(vxcbbsUp);

    // The legend's text is generated; outside a designer it starts empty.
    m_linesField->SetText(QString());
    m_linesField->SetAutoEditable(false);
    m_linesField->SetColor(kCaptionColor);
    m_linesField->SetTransparent(true);
    SetFontSize(m_linesField, 10);
    m_linesField->SetTop(20);
    m_linesField->SetLeft(P.width() - m_linesField->Width());
    m_linesField->SetBorderStyle(vxcbbsDown);

    m_userTextField->SetStringsArray({QStringLiteral("User info field")});
    m_userTextField->SetColor(kCaptionColor);
    m_userTextField->SetTransparent(true);
    SetFontSize(m_userTextField, 10);
    m_userTextField->SetTop(P.height() - m_userTextField->Height() - 25);
    m_userTextField->SetLeft(P.width() - m_userTextField->Width());
    m_userTextField->SetBorderStyle(vxcbbsDown);

    // The arrangement above is made for the panel of the default size.
    m_arrangedFor = P;
    m_appliedPanel = P;
    m_anchors.XVertical = false;
    m_anchors.Reaction = m_resizeReaction;
    const VxChartLayout l = CurrentLayout();
    m_anchors.XAxis = VxChartAnchorAxis(l.XAxis, true, false, P, m_resizeReaction);
    m_anchors.YAxis = VxChartAnchorAxis(l.YAxis, false, false, P, m_resizeReaction);
    m_anchors.YAxis2 = VxChartAnchorAxis(l.YAxis2, false, false, P, m_resizeReaction);
    RecordApplied();
    for (VxChartBaseAxisClassData *axis : {m_xAxis, m_yAxis, m_yAxis2})
        connect(axis->Control(), &VxChartBaseMovingClass::BoundsChanged, this, &TVxUniChart2D::NotePlaced);
    connect(m_mainField->Control(), &VxChartBaseMovingClass::BoundsChanged, this, &TVxUniChart2D::NotePlaced);
}

TVxUniChart2D::~TVxUniChart2D()
{
    m_destroying = true;
    // Elements first, in a fixed order, then the panel they lie on.
    auto drop = [](auto *&object) {
        delete object;
        object = nullptr;
    };
    drop(m_xAxis);
    drop(m_yAxis);
    drop(m_yAxis2);
    drop(m_mainField);
    drop(m_xCaption);
    drop(m_yCaption);
    drop(m_yCaption2);
    drop(m_linesField);
    drop(m_mainCaption);
    drop(m_userTextField);
    drop(m_panel);
    m_backLineBitmap = QImage();
    drop(m_imageList);
}

void TVxUniChart2D::Assign(const TVxUniChart2D &source)
{
    if (&source == this)
        return;
    SetBevelInner(source.BevelInner());
    SetBevelOuter(source.BevelOuter());
    SetColor(source.Color());
    SetBevelInnerWidth(source.BevelInnerWidth());
    SetBevelOuterWidth(source.BevelOuterWidth());
    SetGapInner(source.GapInner());
    SetGapOuter(source.GapOuter());
    SetGapInOut(source.GapInOut());
    SetBevelColor(source.BevelColor());
    SetResizeReaction(source.ResizeReaction());
    SetBackLineBitmapTransparent(source.BackLineBitmapTransparent());
    m_panel->Assign(*source.m_panel);
    SetMainField(source.m_mainField);
    SetXCaption(source.m_xCaption);
    SetYCaption(source.m_yCaption);
    SetYCaption2(source.m_yCaption2);
    SetXAxis(source.m_xAxis);
    SetYAxis(source.m_yAxis);
    SetYAxis2(source.m_yAxis2);
    SetMainCaption(source.m_mainCaption);
    SetUserTextField(source.m_userTextField);
    SetLinesField(source.m_linesField);
    SetBackLineDrawBitmap(source.BackLineDrawBitmap());
}

// ---------------------------------------------------------------------------
// Properties

#define VX_CHART_FACADE_SETTER(Name, Type, member)                                                                  \
    void TVxUniChart2D::Set##Name(Type *source)                                                                      \
    {                                                                                                                \
        if (source && source != member)                                                                              \
            member->Assign(*source);                                                                                 \
    }
VX_CHART_FACADE_SETTER(MainField, VxChartBaseLinesClassData, m_mainField)
VX_CHART_FACADE_SETTER(XCaption, VxChartBaseTextClassData, m_xCaption)
VX_CHART_FACADE_SETTER(YCaption, VxChartBaseTextClassData, m_yCaption)
VX_CHART_FACADE_SETTER(YCaption2, VxChartBaseTextClassData, m_yCaption2)
VX_CHART_FACADE_SETTER(MainCaption, VxChartBaseTextClassData, m_mainCaption)
VX_CHART_FACADE_SETTER(UserTextField, VxChartBaseTextClassData, m_userTextField)
VX_CHART_FACADE_SETTER(LinesField, VxChartBaseTextClassData, m_linesField)
VX_CHART_FACADE_SETTER(XAxis, VxChartBaseAxisClassData, m_xAxis)
VX_CHART_FACADE_SETTER(YAxis, VxChartBaseAxisClassData, m_yAxis)
VX_CHART_FACADE_SETTER(YAxis2, VxChartBaseAxisClassData, m_yAxis2)
#undef VX_CHART_FACADE_SETTER

void TVxUniChart2D::SetBevelOuter(TVxChartBevel v)
{
    m_frame.BevelOuter = v;
    PlacePanel();
    update();
}

void TVxUniChart2D::SetBevelInner(TVxChartBevel v)
{
    m_frame.BevelInner = v;
    PlacePanel();
    update();
}

void TVxUniChart2D::SetBevelOuterWidth(int v)
{
    m_frame.BevelOuterWidth = ToByte(v);
    PlacePanel();
    update();
}

void TVxUniChart2D::SetBevelInnerWidth(int v)
{
    m_frame.BevelInnerWidth = ToByte(v);
    PlacePanel();
    update();
}

void TVxUniChart2D::SetGapOuter(int v)
{
    m_frame.GapOuter = ToByte(v);
    PlacePanel();
    update();
}

void TVxUniChart2D::SetGapInOut(int v)
{
    m_frame.GapInOut = ToByte(v);
    PlacePanel();
    update();
}

void TVxUniChart2D::SetGapInner(int v)
{
    m_frame.GapInner = ToByte(v);
    PlacePanel();
    update();
}

void TVxUniChart2D::SetBevelColor(const QColor &c)
{
    m_bevelColor = c;
    update();
}

void TVxUniChart2D::SetColor(const QColor &c)
{
    m_color = c;
    update();
    if (m_panel)
        m_panel->update();
}

void TVxUniChart2D::SetBackLineDrawBitmap(const QImage &image)
{
    m_backLineBitmap = image.width() > 0 ? image.convertToFormat(QImage::Format_RGB888) : QImage();
    vxChartSend(this, CM_LINES_CHANGED, this);
}

void TVxUniChart2D::SetBackLineBitmapTransparent(bool on)
{
    m_backLineTransparent = on;
    // The masking of the samples is made when they are drawn: draw them
    // again, which also sets the legend text anew.
    RebuildLegend();
}

// ---------------------------------------------------------------------------
// Window, painting and messages

void TVxUniChart2D::PlacePanel()
{
    if (m_panel)
        m_panel->setGeometry(VxChartPanelBounds(size(), m_frame));
}

void TVxUniChart2D::CreateHandle()
{
    PlacePanel();
    m_oldSize = m_panel->size();
    m_handleReady = true;
    // Field and axes moved before the window existed are fitted now.
    const int fit = m_panel->m_pendingFit;
    m_panel->m_pendingFit = 0;
    if (fit != 0)
        RequestFit(fit);
    vxChartPost(m_panel, CM_AXIS_SCALECHANGED, this);
    vxChartSend(this, CM_LINES_CHANGED, this);
    // The elements were arranged for the size the chart had then, which
    // need not be its size now (a window sized it, or a layout, before it
    // was shown): arrange them for this one.
    m_panel->PostRelayout();
}

void TVxUniChart2D::Paint(QPainter &p)
{
    VxChartPaintFrame(p, size(), m_frame, m_bevelColor);
}

void TVxUniChart2D::ErasePanel(QPainter &p)
{
    if (m_panel)
        p.fillRect(QRect(QPoint(0, 0), m_panel->size()), m_color);
}

bool TVxUniChart2D::event(QEvent *e)
{
    if (VxChartMessageEvent *m = vxChartMessage(e)) {
        ChartMessage(*m);
        return true;
    }
    return QWidget::event(e);
}

void TVxUniChart2D::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Paint(p);
}

void TVxUniChart2D::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    PlacePanel();
}

void TVxUniChart2D::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (!m_handleReady && !m_destroying)
        CreateHandle();
}

void TVxUniChart2D::ChartMessage(VxChartMessageEvent &m)
{
    if (m_destroying)
        return;
    switch (m.msg()) {
    case CM_CHART_ERASEPANEL:
        if (auto *p = reinterpret_cast<QPainter *>(m.value()))
            ErasePanel(*p);
        break;
    case CM_CHART_RELAYOUT:
        if (m.value() == 1 && m_panel)
            m_panel->m_relayoutQueued = false; // the queued request arrived
        Relayout();
        break;
    case CM_CHART_FIT:
        m_fitQueued = false;
        Fit(m_fitNotice);
        break;
    case CM_AXIS_MOVED:
    case CM_AXIS_RESIZED:
        // YAxis2 plays no part in the fit: its notices leave the decision
        // to the others.
        RequestFit(m_yAxis2 && m.element() && m.element() == m_yAxis2->Control() ? 0 : CM_AXIS_MOVED);
        break;
    case CM_AXIS_SCALECHANGED:
        CopyRangesToField();
        break;
    case CM_AXIS_DBLCLICK:
        if (VxChartBaseAxisClassData *axis = AxisOf(m.element())) {
            if (axis == m_xAxis)
                emit OnXAxisDblClick(this);
            else if (axis == m_yAxis)
                emit OnYAxisDblClick(this);
            else
                emit OnYAxis2DblClick(this);
        }
        break;
    case CM_FIELD_MOVED:
    case CM_FIELD_RESIZED:
        RequestFit(CM_FIELD_MOVED);
        break;
    case CM_FIELD_ZOOM:
        ZoomAxes();
        break;
    case CM_LINES_CHANGED:
        RebuildLegend();
        break;
    case CM_ELEMENT_DBLCLICK:
        RaiseDblClick(m.element());
        break;
    default:
        break;
    }
}

VxChartBaseAxisClassData *TVxUniChart2D::AxisOf(QObject *element) const
{
    if (!element)
        return nullptr;
    for (VxChartBaseAxisClassData *axis : {m_xAxis, m_yAxis, m_yAxis2})
        if (axis && axis->Control() == element)
            return axis;
    return nullptr;
}

void TVxUniChart2D::RaiseDblClick(QObject *element)
{
    if (!element)
        return;
    if (m_mainField && element == m_mainField->Control())
        emit OnMainFieldDblClick(this);
    else if (m_xCaption && element == m_xCaption->Control())
        emit OnXAxisCaptionDblClick(this);
    else if (m_yCaption && element == m_yCaption->Control())
        emit OnYAxisCaptionDblClick(this);
    else if (m_yCaption2 && element == m_yCaption2->Control())
        emit OnYAxis2CaptionDblClick(this);
    else if (m_mainCaption && element == m_mainCaption->Control())
        emit OnMainCaptionDblClick(this);
    else if (m_linesField && element == m_linesField->Control())
        emit OnLinesInfoFieldDblClick(this);
    else if (m_userTextField && element == m_userTextField->Control())
        emit OnUserInfoFieldDblClick(this);
}

// ---------------------------------------------------------------------------
// Keeping the elements consistent

void TVxUniChart2D::ApplyAxis(VxChartBaseAxisClassData *axis, const VxChartLayoutAxis &a)
{
    const VxChartBaseAxisType type = a.Vertical ? vxcbatVertical : vxcbatHorizontal;
    if (axis->AxisType() != type)
        axis->SetAxisType(type);
    // An element has no negative size: an axis longer than it can be shown
    // shrinks to nothing around its centre point.
    axis->SetLength(std::max(0, a.Length));
    axis->SetCenterPointLeft(a.CenterPointLeft);
    axis->SetCenterPointTop(a.CenterPointTop);
    // The shifts must stay below the length together: set first the one
    // that keeps the pair valid on the way.
    if (a.BeginShift + axis->EndShift() < axis->Length()) {
        axis->SetBeginShift(a.BeginShift);
        axis->SetEndShift(a.EndShift);
    } else {
        axis->SetEndShift(a.EndShift);
        axis->SetBeginShift(a.BeginShift);
    }
}

void TVxUniChart2D::FitFieldToAxes()
{
    if (m_destroying || !m_mainField || !m_xAxis || !m_yAxis)
        return;
    const QRect r = VxChartFieldFromAxes(LayoutAxis(m_xAxis), LayoutAxis(m_yAxis));
    if (VxChartBaseLinesClass *field = m_mainField->Control())
        field->SetBounds(r.left(), r.top(), r.width(), r.height());
}

void TVxUniChart2D::FitAxesToField()
{
    if (m_destroying || !m_mainField || !m_xAxis || !m_yAxis)
        return;
    VxChartLayoutAxis x = LayoutAxis(m_xAxis);
    VxChartLayoutAxis y = LayoutAxis(m_yAxis);
    VxChartAxesFromField(m_mainField->Control()->geometry(), x, y);
    ApplyAxis(m_xAxis, x);
    ApplyAxis(m_yAxis, y);
}

QRect TVxUniChart2D::FieldFromAxes() const
{
    return VxChartFieldFromAxes(LayoutAxis(m_xAxis), LayoutAxis(m_yAxis));
}

bool TVxUniChart2D::FitUnsettled() const
{
    const QRect field = m_mainField->Control()->geometry();
    const QRect axes = FieldFromAxes();
    return field != axes && (field != m_fittedField || axes != m_fittedAxes);
}

void TVxUniChart2D::Fit(int notice)
{
    if (m_destroying || !m_mainField || !m_xAxis || !m_yAxis)
        return;
    // Field and axes may disagree without either having moved: on a panel
    // too small for them the relayout leaves the field empty.  Nothing to
    // fit then.
    if (FitUnsettled()) {
        const bool fieldMoved = m_mainField->Control()->geometry() != m_fittedField;
        const bool axesMoved = FieldFromAxes() != m_fittedAxes;
        const bool axesFollow = fieldMoved != axesMoved ? fieldMoved : notice == CM_FIELD_MOVED;
        // The side that follows is moved by the chart, not placed anew.
        const bool placing = m_placing;
        m_placing = true;
        if (axesFollow)
            FitAxesToField();
        else
            FitFieldToAxes();
        m_placing = placing;
    }
    m_fittedField = m_mainField->Control()->geometry();
    m_fittedAxes = FieldFromAxes();
}

void TVxUniChart2D::RequestFit(int notice)
{
    if (notice != 0)
        m_fitNotice = notice;
    if (m_fitQueued)
        return;
    m_fitQueued = vxChartPost(this, CM_CHART_FIT, this);
}

void TVxUniChart2D::CopyRangesToField()
{
    if (m_destroying || !m_mainField)
        return;
    VxChartBaseLinesClass *f = m_mainField->Control();
    f->SetRotated(m_xAxis->AxisType() == vxcbatVertical);
    f->SetXBegin(m_xAxis->CurrBegin());
    f->SetXEnd(m_xAxis->CurrEnd());
    f->SetXStep(m_xAxis->Visible() ? m_xAxis->Step() : 0.0);
    f->SetXScaleStyle(m_xAxis->ScaleStyle());
    f->SetYBegin(m_yAxis->CurrBegin());
    f->SetYEnd(m_yAxis->CurrEnd());
    f->SetYStep(m_yAxis->Visible() ? m_yAxis->Step() : 0.0);
    f->SetYScaleStyle(m_yAxis->ScaleStyle());
    f->SetY2Begin(m_yAxis2->CurrBegin());
    f->SetY2End(m_yAxis2->CurrEnd());
    f->SetY2Step(m_yAxis2->Visible() ? m_yAxis2->Step() : 0.0);
    f->SetY2ScaleStyle(m_yAxis2->ScaleStyle());
}

void TVxUniChart2D::ZoomAxes()
{
    if (m_destroying || !m_mainField)
        return;
    const VxChartBaseLinesClass *f = m_mainField->Control();
    const VxChartEdges zoom = f->ZoomRect();
    const VxChartEdges field = f->FieldRect();
    const bool rotated = f->Rotated();
    const std::pair<VxChartBaseAxisClassData *, bool> axes[] = {
        {m_xAxis, !rotated}, {m_yAxis, rotated}, {m_yAxis2, rotated}};
    for (const auto &[axis, horizontal] : axes) {
        if (axis->ScaleStyle() != vxcbasLinear)
            continue;
        // A drag without height (width) leaves the axes across it alone,
        // also their begin and end values, which may differ from the range
        // drawn.
        if (horizontal ? zoom.Right == zoom.Left : zoom.Bottom == zoom.Top)
            continue;
        const VxChartRange r = VxChartZoomRange({axis->CurrBegin(), axis->CurrEnd()}, horizontal, zoom, field);
        axis->SetBeginValue(r.Begin);
        axis->SetEndValue(r.End);
    }
}

void TVxUniChart2D::AutoScale(double margin)
{
    if (m_destroying || !m_mainField)
        return;
    const VxChartAutoRanges r = VxChartAutoScaleRanges(*m_mainField->Lines(), margin);
    m_xAxis->SetBeginValue(r.X.Begin);
    m_xAxis->SetEndValue(r.X.End);
    m_yAxis->SetBeginValue(r.Y.Begin);
    m_yAxis->SetEndValue(r.Y.End);
    m_yAxis2->SetBeginValue(r.Y2.Begin);
    m_yAxis2->SetEndValue(r.Y2.End);
    // Data written straight into the columns shows with the new ranges.
    m_mainField->Control()->ContentChanged();
}

void TVxUniChart2D::RebuildLegend()
{
    if (m_destroying || !m_mainField || !m_linesField)
        return;
    const VxChartBaseLineArray &lines = *m_mainField->Lines();
    const VxChartLegendCount count = VxChartCountLegendLines(lines);
    if (count.Lines == 0) {
        m_linesField->SetStringsArray(VxChartLegendText(lines, false));
        return;
    }
    if (count.PointSize <= 0) {
        m_linesField->SetCurrImageList(nullptr);
        m_linesField->SetStringsArray(VxChartLegendText(lines, false));
        return;
    }
    // Samples of the lines, drawn on copies of the template.
    const QColor fill = m_mainField->Transparent() ? m_color : m_mainField->Color();
    const QImage templ = VxChartLegendTemplate(m_backLineBitmap, count.PointSize, fill);
    m_imageList->Clear();
    m_imageList->SetBkColor(QColor());
    m_imageList->SetMasked(m_backLineTransparent);
    m_imageList->SetSize(templ.width(), templ.height());
    for (int k = 0; k < count.Lines; ++k) {
        const QImage sample = m_mainField->Control()->LegendSample(k, templ);
        if (sample.isNull())
            continue;
        m_imageList->Add(sample, sample.pixelColor(0, 0));
    }
    m_linesField->SetCurrImageList(m_imageList);
    m_linesField->SetStringsArray(VxChartLegendText(lines, true));
}

VxChartLayout TVxUniChart2D::CurrentLayout() const
{
    VxChartLayout l;
    l.Panel = m_panel->size();
    l.OldPanel = m_oldSize;
    l.XAxis = LayoutAxis(m_xAxis);
    l.YAxis = LayoutAxis(m_yAxis);
    l.YAxis2 = LayoutAxis(m_yAxis2);
    l.XCaption = m_xCaption->Control()->geometry();
    l.YCaption = m_yCaption->Control()->geometry();
    l.YCaption2 = m_yCaption2->Control()->geometry();
    l.MainCaption = m_mainCaption->Control()->geometry();
    l.LinesField = m_linesField->Control()->geometry();
    l.UserTextField = m_userTextField->Control()->geometry();
    return l;
}

void TVxUniChart2D::ApplyLayout(const VxChartLayout &l)
{
    ApplyAxis(m_xAxis, l.XAxis);
    ApplyAxis(m_yAxis, l.YAxis);
    ApplyAxis(m_yAxis2, l.YAxis2);
    MoveBox(m_xCaption, l.XCaption);
    MoveBox(m_yCaption, l.YCaption);
    MoveBox(m_yCaption2, l.YCaption2);
    MoveBox(m_mainCaption, l.MainCaption);
    MoveBox(m_linesField, l.LinesField);
    MoveBox(m_userTextField, l.UserTextField);
    m_oldSize = l.OldPanel;
}

void TVxUniChart2D::NotePlaced()
{
    if (m_placing || m_destroying)
        return;
    // Only a move the anchors see counts: a thicker axis (a larger font)
    // keeps its place.
    const std::array<VxChartBaseAxisClassData *, 3> axes{m_xAxis, m_yAxis, m_yAxis2};
    for (std::size_t i = 0; i < axes.size(); ++i)
        if (axes[i] && sender() == axes[i]->Control() && SameAxisPlace(LayoutAxis(axes[i]), m_applied[i]))
            return;
    // The panel is placed when the chart's size change arrives, which for a
    // hidden chart is only when it is shown: take the size it will have.
    m_arrangedFor = VxChartPanelBounds(size(), m_frame).size();
}

void TVxUniChart2D::RecordApplied()
{
    m_applied = {LayoutAxis(m_xAxis), LayoutAxis(m_yAxis), LayoutAxis(m_yAxis2)};
}

void TVxUniChart2D::Reanchor(const VxChartLayout &current)
{
    const bool xVertical = current.XAxis.Vertical;
    const bool rulesChanged = m_anchors.XVertical != xVertical || m_anchors.Reaction != m_resizeReaction;
    const std::array<const VxChartLayoutAxis *, 3> now{&current.XAxis, &current.YAxis, &current.YAxis2};
    const std::array<VxChartAxisAnchors *, 3> anchors{&m_anchors.XAxis, &m_anchors.YAxis, &m_anchors.YAxis2};
    for (std::size_t i = 0; i < now.size(); ++i) {
        const bool isX = i == 0;
        if (!SameAxisPlace(*now[i], m_applied[i])) {
            *anchors[i] = VxChartAnchorAxis(*now[i], isX, xVertical, m_arrangedFor, m_resizeReaction);
        } else if (rulesChanged) {
            // Where the old anchors put the axis when it was last placed,
            // whatever its element could take, decided anew.
            VxChartLayoutAxis placed = *now[i];
            VxChartPlaceAxis(placed, *anchors[i], m_appliedPanel);
            *anchors[i] = VxChartAnchorAxis(placed, isX, xVertical, m_appliedPanel, m_resizeReaction);
        }
    }
    m_anchors.XVertical = xVertical;
    m_anchors.Reaction = m_resizeReaction;
}

void TVxUniChart2D::Relayout()
{
    if (!m_handleReady || m_destroying || !m_panel)
        return;
    // Field and axes agree first: a fit still waiting for notices queued
    // with it decides which of them follows the other.
    if (FitUnsettled()) {
        RequestFit(0);
        m_panel->PostRelayout();
        return;
    }
    const VxChartLayout l = CurrentLayout();
    m_sizeChange = QSize(l.Panel.width() - l.OldPanel.width(), l.Panel.height() - l.OldPanel.height());
    Reanchor(l);
    const VxChartLayout placed = VxChartPlaceLayout(l, m_anchors);

    m_placing = true;
    ApplyLayout(placed);
    // The field between the axes as placed: on a panel too small for them
    // the axes' elements cannot take their place (no negative lengths or
    // centre points), the field is then left empty.
    const QRect f = VxChartFieldFromAxes(placed.XAxis, placed.YAxis);
    m_mainField->Control()->SetBounds(f.left(), f.top(), std::max(0, f.width()), std::max(0, f.height()));
    m_placing = false;

    RecordApplied();
    m_appliedPanel = l.Panel;
    m_arrangedFor = l.Panel;
    m_fittedField = m_mainField->Control()->geometry();
    m_fittedAxes = FieldFromAxes();
    emit Rearranged();
}

// ---------------------------------------------------------------------------
// Bitmap and clipboard

QImage TVxUniChart2D::CreateBitmap()
{
    PlacePanel();
    // The chart paints itself, the panel and every element through their own
    // paint routines, each at its offset from the chart.  Painting goes
    // through a 32-bit image, which takes the inverting selection marks.
    QImage canvas(size(), QImage::Format_RGB32);
    canvas.fill(m_bevelColor);
    render(&canvas, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return canvas.convertToFormat(QImage::Format_RGB888);
}

void TVxUniChart2D::CopyToClipboard()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setImage(CreateBitmap());
}
