// The two-dimensional line chart widget: a framed control holding an inner
// panel on which ten movable elements lie: the plotting field, three axes and
// six text boxes.  The elements never call the chart; they post notifications
// to the panel, which handles some itself and forwards the rest here.  The
// chart keeps the elements consistent (field and axes, captions, legend),
// re-arranges them when it is resized, scales the axes to the data and
// renders itself into a bitmap for the clipboard.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>

#include "chart/VxChartBaseAxisUnit.h"
#include "chart/VxChartBaseLinesUnit.h"
#include "chart/VxChartBaseTextUnit.h"
#include "chart/VxChartImageList.h"
#include "chart/VxChartMessages.h"
#include "chart/VxUniChart2DLayout.h"

class TVxUniChart2D;

// The inner panel: the surface the elements lie on.  It paints nothing of
// its own (the chart fills it with its Color), shares axis fonts, asks for a
// relayout when a caption changes size or an axis changes type, and passes
// the other notifications on to the chart.
class TVxChartInnerPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TVxChartInnerPanel(TVxUniChart2D *chart);
    ~TVxChartInnerPanel() override;

    // Accepts only another inner panel and copies nothing.
    void Assign(const TVxChartInnerPanel &source);

    TVxUniChart2D *Chart() const { return m_chart.data(); }

    // Queues one CM_CHART_RELAYOUT for the chart unless one is queued
    // already, so that a burst of changes costs one relayout.  The post is
    // retried (pending events processed in between) until it succeeds or the
    // chart is gone.
    void PostRelayout();
    bool RelayoutQueued() const { return m_relayoutQueued; }

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    friend class TVxUniChart2D;
    void ChartMessage(VxChartMessageEvent &m);
    // Passes a message on to the chart, only while the chart's window exists.
    void Forward(VxChartMessageEvent &m);
    void ShareAxisFont(QObject *sender);

    QPointer<TVxUniChart2D> m_chart;
    bool m_relayoutQueued = false;
    // A fit of field and axes asked for before the chart's window existed:
    // 0 none, CM_AXIS_MOVED (field to the axes) or CM_FIELD_MOVED (axes to
    // the field); the chart carries it out when its window comes into being.
    int m_pendingFit = 0;
};

class TVxUniChart2D : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(VxChartBaseLinesClassData *MainField READ MainField WRITE SetMainField)
    Q_PROPERTY(VxChartBaseTextClassData *XCaption READ XCaption WRITE SetXCaption)
    Q_PROPERTY(VxChartBaseTextClassData *YCaption READ YCaption WRITE SetYCaption)
    Q_PROPERTY(VxChartBaseTextClassData *YCaption2 READ YCaption2 WRITE SetYCaption2)
    Q_PROPERTY(VxChartBaseTextClassData *MainCaption READ MainCaption WRITE SetMainCaption)
    Q_PROPERTY(VxChartBaseTextClassData *UserTextField READ UserTextField WRITE SetUserTextField)
    Q_PROPERTY(VxChartBaseTextClassData *LinesField READ LinesField WRITE SetLinesField)
    Q_PROPERTY(VxChartBaseAxisClassData *XAxis READ XAxis WRITE SetXAxis)
    Q_PROPERTY(VxChartBaseAxisClassData *YAxis READ YAxis WRITE SetYAxis)
    Q_PROPERTY(VxChartBaseAxisClassData *YAxis2 READ YAxis2 WRITE SetYAxis2)
    Q_PROPERTY(TVxChartBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(TVxChartBevel BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelOuterWidth READ BevelOuterWidth WRITE SetBevelOuterWidth)
    Q_PROPERTY(int BevelInnerWidth READ BevelInnerWidth WRITE SetBevelInnerWidth)
    Q_PROPERTY(int GapOuter READ GapOuter WRITE SetGapOuter)
    Q_PROPERTY(int GapInOut READ GapInOut WRITE SetGapInOut)
    Q_PROPERTY(int GapInner READ GapInner WRITE SetGapInner)
    Q_PROPERTY(QColor BevelColor READ BevelColor WRITE SetBevelColor)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TVxChartResizeReaction ResizeReaction READ ResizeReaction WRITE SetResizeReaction)
    Q_PROPERTY(QImage BackLineDrawBitmap READ BackLineDrawBitmap WRITE SetBackLineDrawBitmap)
    Q_PROPERTY(bool BackLineBitmapTransparent READ BackLineBitmapTransparent WRITE SetBackLineBitmapTransparent)

public:
    explicit TVxUniChart2D(QWidget *owner = nullptr);
    ~TVxUniChart2D() override;

    // From another chart: the frame and reaction settings, the panel, the
    // element facades and the legend template, in a fixed order.
    virtual void Assign(const TVxUniChart2D &source);

    // Element facades; setting one assigns the other facade's properties
    // into the chart's own.
    VxChartBaseLinesClassData *MainField() const { return m_mainField; }
    void SetMainField(VxChartBaseLinesClassData *source);
    VxChartBaseTextClassData *XCaption() const { return m_xCaption; }
    void SetXCaption(VxChartBaseTextClassData *source);
    VxChartBaseTextClassData *YCaption() const { return m_yCaption; }
    void SetYCaption(VxChartBaseTextClassData *source);
    VxChartBaseTextClassData *YCaption2() const { return m_yCaption2; }
    void SetYCaption2(VxChartBaseTextClassData *source);
    VxChartBaseTextClassData *MainCaption() const { return m_mainCaption; }
    void SetMainCaption(VxChartBaseTextClassData *source);
    VxChartBaseTextClassData *UserTextField() const { return m_userTextField; }
    void SetUserTextField(VxChartBaseTextClassData *source);
    VxChartBaseTextClassData *LinesField() const { return m_linesField; }
    void SetLinesField(VxChartBaseTextClassData *source);
    VxChartBaseAxisClassData *XAxis() const { return m_xAxis; }
    void SetXAxis(VxChartBaseAxisClassData *source);
    VxChartBaseAxisClassData *YAxis() const { return m_yAxis; }
    void SetYAxis(VxChartBaseAxisClassData *source);
    VxChartBaseAxisClassData *YAxis2() const { return m_yAxis2; }
    void SetYAxis2(VxChartBaseAxisClassData *source);

    // Frame.  Bevel styles, widths and gaps re-place the panel and repaint.
    TVxChartBevel BevelOuter() const { return m_frame.BevelOuter; }
    void SetBevelOuter(TVxChartBevel v);
    TVxChartBevel BevelInner() const { return m_frame.BevelInner; }
    void SetBevelInner(TVxChartBevel v);
    int BevelOuterWidth() const { return m_frame.BevelOuterWidth; }
    void SetBevelOuterWidth(int v);
    int BevelInnerWidth() const { return m_frame.BevelInnerWidth; }
    void SetBevelInnerWidth(int v);
    int GapOuter() const { return m_frame.GapOuter; }
    void SetGapOuter(int v);
    int GapInOut() const { return m_frame.GapInOut; }
    void SetGapInOut(int v);
    int GapInner() const { return m_frame.GapInner; }
    void SetGapInner(int v);
    const VxChartFrame &Frame() const { return m_frame; }
    QColor BevelColor() const { return m_bevelColor; }
    void SetBevelColor(const QColor &c);
    // Background of the inner panel.
    QColor Color() const { return m_color; }
    void SetColor(const QColor &c);
    TVxChartResizeReaction ResizeReaction() const { return m_resizeReaction; }
    void SetResizeReaction(TVxChartResizeReaction r) { m_resizeReaction = r; }

    // Template of the legend samples (24-bit); an empty image lets the
    // legend use plain samples of the field colour.
    QImage BackLineDrawBitmap() const { return m_backLineBitmap; }
    void SetBackLineDrawBitmap(const QImage &image);
    bool BackLineBitmapTransparent() const { return m_backLineTransparent; }
    void SetBackLineBitmapTransparent(bool on);

    TVxChartInnerPanel *Panel() const { return m_panel; }
    // The images of the legend samples.
    VxChartImageList *ImageList() const { return m_imageList; }
    // The chart's window exists: notifications are forwarded and size
    // changes re-arrange the elements.
    bool HandleReady() const { return m_handleReady; }
    // Panel size at the last relayout and the change found then.
    QSize OldPanelSize() const { return m_oldSize; }
    QSize LastSizeChange() const { return m_sizeChange; }

    // Sets the ranges of XAxis, YAxis and YAxis2 from the data of the lines
    // with a margin of `margin` per cent of each span on both sides.
    void AutoScale(double margin);

    // A new 24-bit image of the chart's size with the chart painted into it.
    QImage CreateBitmap();
    // Puts the image of CreateBitmap on the system clipboard.
    void CopyToClipboard();

    // The parts of the chart's reactions, public for hosts and tests.
    void PlacePanel();                // the panel inside the frame
    void FitFieldToAxes();            // the plotting field between the axes
    void FitAxesToField();            // the axes around the plotting field
    // Makes field and axes agree again after one of them moved: the side
    // that changed since they last agreed leads; when both or neither did,
    // the notice decides (CM_FIELD_MOVED: the axes follow the field, else
    // the field follows the axes).
    void Fit(int notice);
    // Asks for a Fit once the notices queued now have arrived, the last
    // notice of XAxis, YAxis or the field deciding (0 leaves the decision as
    // it is): a window may set up the axes and then the field in one go and
    // the axes follow the field.
    void RequestFit(int notice);
    void CopyRangesToField();         // the axis ranges and steps into the field
    void ZoomAxes();                  // the axes set to the last zoom rectangle
    void RebuildLegend();             // the LinesField text and sample images
    // The reaction to a size change of the panel.  The axes are placed from
    // their anchors (see VxChartLayoutAnchors), so the layout a size calls
    // for does not depend on the sizes the chart went through: an axis
    // moved by the program, the user or a fit to the field is anchored
    // anew, by the rules of the reaction on the panel the chart had when it
    // was moved.
    void Relayout();
    // The arrangement the relayout starts from: current positions and sizes.
    VxChartLayout CurrentLayout() const;

signals:
    // After the chart re-arranged its elements (a size change of the panel,
    // a caption that changed its size): a program that places some of them
    // itself does it again here.
    void Rearranged();
    void OnXAxisDblClick(QObject *Sender);
    void OnYAxisDblClick(QObject *Sender);
    void OnYAxis2DblClick(QObject *Sender);
    void OnXAxisCaptionDblClick(QObject *Sender);
    void OnYAxisCaptionDblClick(QObject *Sender);
    void OnYAxis2CaptionDblClick(QObject *Sender);
    void OnMainCaptionDblClick(QObject *Sender);
    void OnLinesInfoFieldDblClick(QObject *Sender);
    void OnUserInfoFieldDblClick(QObject *Sender);
    void OnMainFieldDblClick(QObject *Sender);

protected:
    // The chart's window comes into being (the first showing): the old size
    // is recorded, the ranges are copied into the field and the legend is
    // built.  Relayout requests before this are ignored.
    virtual void CreateHandle();
    // Paints the frame; the panel and the elements paint themselves.
    virtual void Paint(QPainter &p);

    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    friend class TVxChartInnerPanel;
    void ChartMessage(VxChartMessageEvent &m);
    void ErasePanel(QPainter &p);
    void ApplyLayout(const VxChartLayout &l);
    void ApplyAxis(VxChartBaseAxisClassData *axis, const VxChartLayoutAxis &a);
    VxChartBaseAxisClassData *AxisOf(QObject *element) const;
    void RaiseDblClick(QObject *element);
    // Field and axes disagree and one of them moved since they last agreed.
    bool FitUnsettled() const;
    QRect FieldFromAxes() const;
    // Anchors of the axes that were moved since the last relayout, and of
    // all of them when the rules they were decided by changed.
    void Reanchor(const VxChartLayout &current);
    // Records that the program or the user placed an element: the
    // arrangement is meant for the panel the chart's present size gives.
    void NotePlaced();
    void RecordApplied();

    // Private state, in the order of the design.
    TVxChartInnerPanel *m_panel = nullptr;
    bool m_handleReady = false;
    QSize m_sizeChange;
    QSize m_oldSize;
    VxChartImageList *m_imageList = nullptr;
    VxChartBaseLinesClassData *m_mainField = nullptr;
    VxChartBaseAxisClassData *m_xAxis = nullptr;
    VxChartBaseAxisClassData *m_yAxis = nullptr;
    VxChartBaseAxisClassData *m_yAxis2 = nullptr;
    VxChartBaseTextClassData *m_xCaption = nullptr;
    VxChartBaseTextClassData *m_yCaption = nullptr;
    VxChartBaseTextClassData *m_yCaption2 = nullptr;
    VxChartBaseTextClassData *m_linesField = nullptr;
    VxChartBaseTextClassData *m_mainCaption = nullptr;
    VxChartBaseTextClassData *m_userTextField = nullptr;
    QImage m_backLineBitmap;

    // Field and the field the axes imply when they last agreed.
    QRect m_fittedField;
    QRect m_fittedAxes;
    int m_fitNotice = 0;
    bool m_fitQueued = false;
    // Anchors of the axes, the axes as the chart last placed them, the panel
    // size it placed them for, and the panel size the program or the user
    // last placed an element on.  m_placing is set while the chart moves the
    // elements itself.
    VxChartLayoutAnchors m_anchors;
    std::array<VxChartLayoutAxis, 3> m_applied;
    QSize m_appliedPanel;
    QSize m_arrangedFor;
    bool m_placing = false;
    VxChartFrame m_frame;
    QColor m_bevelColor = QColor(192, 192, 192);
    QColor m_color = QColor(160, 160, 160);
    TVxChartResizeReaction m_resizeReaction = vxcrrStandart;
    bool m_backLineTransparent = false;
    bool m_destroying = false;
};
