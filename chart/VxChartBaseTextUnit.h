// Text boxes of the chart (captions, the free text box, the legend): several
// lines in a small caption markup, measured, optionally sized to the text,
// framed in one of six border styles and drawn in one of four orientations.
//
// Markup tags (case-sensitive): <B> </B> bold, <I> </I> italic, <U> </U>
// underline, <up> </up> raised run, <down> </down> lowered run,
// <size>n</size> font size n from here on, <inline>k</inline> image k of the
// box's image list.  Any other bracketed text is plain text.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

#include "chart/VxChartBaseMovingUnit.h"
#include "chart/VxChartImageList.h"

enum VxChartBaseTextOrientation { vxcbto_0_Degrees, vxcbto_90_Degrees, vxcbto_180_Degrees, vxcbto_270_Degrees };

enum VxChartBaseBorderStyle { vxcbbsNone, vxcbbsSimple, vxcbbsRising, vxcbbsPressed, vxcbbsUp, vxcbbsDown };

// The tags by index; on equal positions the lower index wins.
enum VxChartTextTag {
    vxttBoldOn,
    vxttBoldOff,
    vxttItalicOn,
    vxttItalicOff,
    vxttUnderlineOn,
    vxttUnderlineOff,
    vxttUpOn,
    vxttUpOff,
    vxttDownOn,
    vxttDownOff,
    vxttSizeOn,
    vxttSizeOff,
    vxttInlineOn,
    vxttInlineOff,
};
inline constexpr std::array<const char *, 14> VxChartTextTags = {
    "<B>", "</B>", "<I>", "</I>", "<U>", "</U>", "<up>", "</up>", "<down>", "</down>", "<size>", "</size>",
    "<inline>", "</inline>"};

// One token of a line: a tag (Tag >= 0) or a piece of text (Tag = -1).
struct VxChartTextToken
{
    int Tag = -1;
    QString Text;
    bool IsTag() const { return Tag >= 0; }
    friend bool operator==(const VxChartTextToken &, const VxChartTextToken &) = default;
};

// Splits one line into text and tag tokens.  Empty text between tags makes
// no token.
QList<VxChartTextToken> VxChartTokenizeLine(const QString &line);

enum class VxChartRunMode { Normal, Raised, Lowered };

// One measured run: a piece of text in one font, or an inline image.
struct VxChartTextRun
{
    QString Text;     // the text; empty for an image
    int Image = -1;   // image index for an inline image, else -1
    QFont Font;       // working font of the run
    VxChartRunMode Mode = VxChartRunMode::Normal;
    int Line = 0;     // line index
    int X = 0;        // start along the line
    int Y = 0;        // top, from the top of the text block
    int Width = 0;    // extent along the line
    int Height = 0;   // extent across the line
};

// All lines measured: the block extent, the top of every line and the runs.
struct VxChartTextLayout
{
    int Width = 0;
    int Height = 0;
    QList<QPoint> LineOffsets; // per line the offset of its top from the block top
    QList<VxChartTextRun> Runs;
};

// Text extent of a string in a font: advance width and line height.
using VxChartTextExtent = std::function<QSize(const QFont &, const QString &)>;

// The platform's extent (font metrics of the screen).
QSize VxChartScreenTextExtent(const QFont &font, const QString &text);

// Measures the lines with the given font.  images: the box's image list or
// nullptr; rotated: the box is drawn at 90 or 270 degrees, so an inline
// image's extent along the line is its height.  extent defaults to the
// screen's text extent.
VxChartTextLayout VxChartMeasureText(const QStringList &lines, const QFont &font, const VxChartImageList *images,
                                     bool rotated, const VxChartTextExtent &extent = {});

// Frame width of a border style (the pixels the border itself takes).
int VxChartBorderWidth(VxChartBaseBorderStyle style);

// Size of a box around a text block: block plus the frame f on every side,
// width and height exchanged for 90 and 270 degrees.
QSize VxChartTextBoxSize(QSize block, int frame, VxChartBaseTextOrientation orientation);

// Top-left corner, in box coordinates, of a run box drawn in the given
// orientation: for 0 degrees the run's own start, otherwise that corner
// turned with the box.  Text is drawn from the run's origin (VxChartRunOrigin)
// with the font turned counter-clockwise by the orientation angle.
QPoint VxChartRunOrigin(int x, int y, int frame, QSize box, VxChartBaseTextOrientation orientation);
QRect VxChartRunRect(const VxChartTextRun &run, int frame, QSize box, VxChartBaseTextOrientation orientation);

class VxChartBaseTextClass : public VxChartBaseMovingClass
{
    Q_OBJECT
public:
    explicit VxChartBaseTextClass(QWidget *parent = nullptr);
    ~VxChartBaseTextClass() override;

    // Copies every text property, then the movable element's flags.
    void Assign(const VxChartBaseMovingClass &source) override;

    // The caption string.  After a StringsArray assignment it ends with a
    // line break.
    QString Text() const { return m_text; }
    void SetText(const QString &s);
    QStringList StringsArray() const { return m_lines; }
    void SetStringsArray(const QStringList &lines);
    // Text of a list: every line followed by a line break.
    static QString ListText(const QStringList &lines);
    // Lines of a text, split at CR LF, LF or CR; a final line break adds no
    // empty line.
    static QStringList SplitLines(const QString &text);

    QFont Font() const { return m_font; }
    void SetFont(const QFont &f);
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &c);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &c);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    VxChartBaseTextOrientation TextOrientation() const { return m_orientation; }
    void SetTextOrientation(VxChartBaseTextOrientation o);
    VxChartBaseBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(VxChartBaseBorderStyle s);
    int InnerGap() const { return m_innerGap; }
    void SetInnerGap(int gap);
    int OuterGap() const { return m_outerGap; }
    void SetOuterGap(int gap);
    VxChartImageList *CurrImageList() const { return m_imageList.data(); }
    void SetCurrImageList(VxChartImageList *list);
    bool AutoEditable() const { return m_autoEditable; }
    void SetAutoEditable(bool on) { m_autoEditable = on; }
    bool IsVisible() const { return !isHidden(); }
    void SetVisible(bool on);

    // Distance from the element edge to the text: both gaps and the border.
    int Frame() const;
    // The last measurement.
    const VxChartTextLayout &Layout() const { return m_layout; }
    QSize TextExtent() const { return {m_layout.Width, m_layout.Height}; }

    // Measures the text again and, with AutoSize, sizes the box to it.
    void Measure();

    // Opens the text editor for a box; set by the editor unit.  Until one is
    // set a double click only posts its notification.
    static void SetEditorHook(std::function<void(VxChartBaseTextClass &)> hook);

    // The frame colours derived from Color.
    static QColor InverseColor(const QColor &c);
    static QColor LightColor(const QColor &c);
    static QColor DarkColor(const QColor &c);

protected:
    void Paint(QPainter &p) override;
    void DblClick(const QPoint &pos) override;

private:
    void PaintFrame(QPainter &p) const;
    void PaintRuns(QPainter &p) const;

    VxChartTextLayout m_layout;
    QStringList m_lines;
    bool m_autoSize = true;
    VxChartBaseTextOrientation m_orientation = vxcbto_0_Degrees;
    VxChartBaseBorderStyle m_borderStyle = vxcbbsSimple;
    int m_outerGap = 5;
    int m_innerGap = 5;
    QPointer<VxChartImageList> m_imageList;
    QMetaObject::Connection m_imageListConnection;
    bool m_autoEditable = true;

    QString m_text;
    QFont m_font;
    QColor m_fontColor = Qt::black;
    QColor m_color = QColor(255, 255, 255);
    bool m_ready = false; // no resizing notifications while constructing
};

// The published face of a text box: creates the box on the given panel,
// destroys it with itself and forwards every property to it.  The facade
// itself belongs to whoever creates it (the chart), not to the panel.
class VxChartBaseTextClassData : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QStringList StringsArray READ StringsArray WRITE SetStringsArray)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(VxChartBaseTextOrientation TextOrientation READ TextOrientation WRITE SetTextOrientation)
    Q_PROPERTY(VxChartBaseBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int InnerGap READ InnerGap WRITE SetInnerGap)
    Q_PROPERTY(int OuterGap READ OuterGap WRITE SetOuterGap)
    Q_PROPERTY(VxChartImageList *CurrImageList READ CurrImageList WRITE SetCurrImageList)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool AutoEditable READ AutoEditable WRITE SetAutoEditable)

public:
    explicit VxChartBaseTextClassData(QWidget *panel, QObject *owner = nullptr);
    ~VxChartBaseTextClassData() override;

    VxChartBaseTextClass *Control() const { return m_control; }

    // Copies the published properties in their published order.
    void Assign(const VxChartBaseTextClassData &source);

    QString Text() const { return m_control->Text(); }
    void SetText(const QString &s) { m_control->SetText(s); }
    QFont Font() const { return m_control->Font(); }
    void SetFont(const QFont &f) { m_control->SetFont(f); }
    QColor FontColor() const { return m_control->FontColor(); }
    void SetFontColor(const QColor &c) { m_control->SetFontColor(c); }
    bool Transparent() const { return m_control->Transparent(); }
    void SetTransparent(bool on) { m_control->SetTransparent(on); }
    QColor Color() const { return m_control->Color(); }
    void SetColor(const QColor &c) { m_control->SetColor(c); }
    QStringList StringsArray() const { return m_control->StringsArray(); }
    void SetStringsArray(const QStringList &l) { m_control->SetStringsArray(l); }
    bool AutoSize() const { return m_control->AutoSize(); }
    void SetAutoSize(bool on) { m_control->SetAutoSize(on); }
    int Width() const { return m_control->Width(); }
    void SetWidth(int v) { m_control->SetWidth(v); }
    int Height() const { return m_control->Height(); }
    void SetHeight(int v) { m_control->SetHeight(v); }
    int Top() const { return m_control->Top(); }
    void SetTop(int v) { m_control->SetTop(v); }
    int Left() const { return m_control->Left(); }
    void SetLeft(int v) { m_control->SetLeft(v); }
    VxChartBaseTextOrientation TextOrientation() const { return m_control->TextOrientation(); }
    void SetTextOrientation(VxChartBaseTextOrientation o) { m_control->SetTextOrientation(o); }
    VxChartBaseBorderStyle BorderStyle() const { return m_control->BorderStyle(); }
    void SetBorderStyle(VxChartBaseBorderStyle s) { m_control->SetBorderStyle(s); }
    int InnerGap() const { return m_control->InnerGap(); }
    void SetInnerGap(int v) { m_control->SetInnerGap(v); }
    int OuterGap() const { return m_control->OuterGap(); }
    void SetOuterGap(int v) { m_control->SetOuterGap(v); }
    VxChartImageList *CurrImageList() const { return m_control->CurrImageList(); }
    void SetCurrImageList(VxChartImageList *l) { m_control->SetCurrImageList(l); }
    bool Visible() const { return m_control->IsVisible(); }
    void SetVisible(bool on) { m_control->SetVisible(on); }
    bool AutoEditable() const { return m_control->AutoEditable(); }
    void SetAutoEditable(bool on) { m_control->SetAutoEditable(on); }

private:
    QPointer<VxChartBaseTextClass> m_control;
};
