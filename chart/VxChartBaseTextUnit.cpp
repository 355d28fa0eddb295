#include "chart/VxChartBaseTextUnit.h"

#include <QFontMetrics>
#include <QPainter>

#include <optional>

// ---------------------------------------------------------------------------
// Tokenizer

QList<VxChartTextToken> VxChartTokenizeLine(const QString &line)
{
    QList<VxChartTextToken> tokens;
    qsizetype pos = 0;
    while (pos < line.size()) {
        qsizetype best = -1;
        int bestTag = -1;
        for (int t = 0; t < int(VxChartTextTags.size()); ++t) {
            const qsizetype at = line.indexOf(QLatin1String(VxChartTextTags[t]), pos, Qt::CaseSensitive);
            if (at >= 0 && (best < 0 || at < best)) { // strict: the lower index wins a tie
                best = at;
                bestTag = t;
            }
        }
        if (best < 0) {
            tokens.append({-1, line.mid(pos)});
            break;
        }
        if (best > pos)
            tokens.append({-1, line.mid(pos, best - pos)});
        tokens.append({bestTag, QString()});
        pos = best + qsizetype(qstrlen(VxChartTextTags[bestTag]));
    }
    return tokens;
}

// ---------------------------------------------------------------------------
// Measuring

QSize VxChartScreenTextExtent(const QFont &font, const QString &text)
{
    const QFontMetrics fm(font);
    return {fm.horizontalAdvance(text), fm.height()};
}

namespace {

// Reads a markup argument as an integer; nothing for any other text.
std::optional<int> ArgumentNumber(const QString &arg)
{
    bool ok = false;
    const int n = arg.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

void SetFontSize(QFont &font, int size)
{
    // A positive size is in points, a negative one a pixel height; 0 cannot
    // be drawn and keeps the current size.
    if (size > 0)
        font.setPointSize(size);
    else if (size < 0)
        font.setPixelSize(-size);
}

} // namespace

VxChartTextLayout VxChartMeasureText(const QStringList &lines, const QFont &font, const VxChartImageList *images,
                                     bool rotated, const VxChartTextExtent &extentFn)
{
    const VxChartTextExtent extent = extentFn ? extentFn : VxChartTextExtent(VxChartScreenTextExtent);
    VxChartTextLayout layout;
    QFont work = font;                       // styles and size persist from line to line
    VxChartRunMode mode = VxChartRunMode::Normal;
    int top = 0;                             // top of the current line in the block

    for (int lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
        QList<VxChartTextRun> runs;
        int x = 0;
        int widest = 0;
        int argumentFor = -1;                // tag whose argument the next text token is
        std::optional<QString> sizeArg, inlineArg;
        bool lastWasPairEnd = false;         // the previous run completed a stacked pair

        auto place = [&](VxChartTextRun run) {
            run.Mode = mode;
            run.Line = lineIndex;
            run.X = x;
            bool paired = false;
            if (!runs.isEmpty() && !lastWasPairEnd && mode != VxChartRunMode::Normal) {
                const VxChartTextRun &prev = runs.constLast();
                if (prev.Mode != VxChartRunMode::Normal && prev.Mode != mode) {
                    // a raised run over a lowered one (or the reverse) starts at the same x
                    run.X = prev.X;
                    x = qMax(prev.X + prev.Width, run.X + run.Width);
                    paired = true;
                }
            }
            if (!paired)
                x += run.Width;
            lastWasPairEnd = paired;
            widest = qMax(widest, x);
            runs.append(run);
        };

        for (const VxChartTextToken &tok : VxChartTokenizeLine(lines.at(lineIndex))) {
            if (!tok.IsTag()) {
                if (argumentFor == vxttSizeOn) {
                    sizeArg = tok.Text;
                } else if (argumentFor == vxttInlineOn) {
                    inlineArg = tok.Text;
                } else {
                    const QSize e = extent(work, tok.Text);
                    VxChartTextRun run;
                    run.Text = tok.Text;
                    run.Font = work;
                    run.Width = e.width();
                    run.Height = e.height();
                    place(run);
                }
                argumentFor = -1;
                continue;
            }
            argumentFor = -1;
            switch (tok.Tag) {
            case vxttBoldOn:
            case vxttBoldOff:
                work.setBold(tok.Tag == vxttBoldOn);
                break;
            case vxttItalicOn:
            case vxttItalicOff:
                work.setItalic(tok.Tag == vxttItalicOn);
                break;
            case vxttUnderlineOn:
            case vxttUnderlineOff:
                work.setUnderline(tok.Tag == vxttUnderlineOn);
                break;
            case vxttUpOn:
                mode = VxChartRunMode::Raised;
                break;
            case vxttUpOff:
                if (mode == VxChartRunMode::Raised)
                    mode = VxChartRunMode::Normal;
                break;
            case vxttDownOn:
                mode = VxChartRunMode::Lowered;
                break;
            case vxttDownOff:
                if (mode == VxChartRunMode::Lowered)
                    mode = VxChartRunMode::Normal;
                break;
            case vxttSizeOn:
            case vxttInlineOn:
                argumentFor = tok.Tag;
                break;
            case vxttSizeOff:
                if (sizeArg) {
                    if (const std::optional<int> n = ArgumentNumber(*sizeArg))
                        SetFontSize(work, *n);
                }
                sizeArg.reset();
                break;
            case vxttInlineOff: {
                const int index = ArgumentNumber(inlineArg.value_or(QString())).value_or(0);
                inlineArg.reset();
                if (images && index >= 0 && index < images->Count()) {
                    VxChartTextRun run;
                    run.Image = index;
                    run.Font = work;
                    run.Width = rotated ? images->Height() : images->Width();
                    run.Height = rotated ? images->Width() : images->Height();
                    place(run);
                }
                break;
            }
            default:
                break;
            }
        }

        // Normal runs are centred on one another; raised runs centre on the
        // top of their line box, lowered runs on its bottom.
        bool haveNormal = false;
        int boxTop = 0, boxBottom = 0;
        for (VxChartTextRun &run : runs) {
            if (run.Mode != VxChartRunMode::Normal)
                continue;
            run.Y = -(run.Height / 2);
            boxTop = haveNormal ? qMin(boxTop, run.Y) : run.Y;
            boxBottom = haveNormal ? qMax(boxBottom, run.Y + run.Height) : run.Y + run.Height;
            haveNormal = true;
        }
        int lineTop = boxTop, lineBottom = boxBottom;
        for (VxChartTextRun &run : runs) {
            if (run.Mode == VxChartRunMode::Raised)
                run.Y = boxTop - run.Height / 2;
            else if (run.Mode == VxChartRunMode::Lowered)
                run.Y = boxBottom - run.Height / 2;
            lineTop = qMin(lineTop, run.Y);
            lineBottom = qMax(lineBottom, run.Y + run.Height);
        }
        int lineHeight = lineBottom - lineTop;
        if (runs.isEmpty())
            lineHeight = extent(work, QString()).height(); // an empty line keeps its place
        for (VxChartTextRun &run : runs)
            run.Y += top - lineTop;

        layout.LineOffsets.append(QPoint(0, top));
        layout.Runs.append(runs);
        layout.Width = qMax(layout.Width, widest);
        top += lineHeight;
    }
    layout.Height = top;
    return layout;
}

int VxChartBorderWidth(VxChartBaseBorderStyle style)
{
    switch (style) {
    case vxcbbsNone:
        return 0;
    case vxcbbsSimple:
        return 1;
    case vxcbbsRising:
    case vxcbbsPressed:
        return 2;
    case vxcbbsUp:
    case vxcbbsDown:
        return 3;
    }
    return 0;
}

QSize VxChartTextBoxSize(QSize block, int frame, VxChartBaseTextOrientation orientation)
{
    const bool turned = orientation == vxcbto_90_Degrees || orientation == vxcbto_270_Degrees;
    const int along = block.width() + 2 * frame;
    const int across = block.height() + 2 * frame;
    return turned ? QSize(across, along) : QSize(along, across);
}

QPoint VxChartRunOrigin(int x, int y, int f, QSize box, VxChartBaseTextOrientation orientation)
{
    const int w = box.width(), h = box.height();
    switch (orientation) {
    case vxcbto_90_Degrees:
        return {f + y, h - f - x};
    case vxcbto_180_Degrees:
        return {w - f - x, h - f - y};
    case vxcbto_270_Degrees:
        return {w - f - y, f + x};
    case vxcbto_0_Degrees:
        break;
    }
    return {f + x, f + y};
}

QRect VxChartRunRect(const VxChartTextRun &run, int f, QSize box, VxChartBaseTextOrientation orientation)
{
    const QPoint o = VxChartRunOrigin(run.X, run.Y, f, box, orientation);
    switch (orientation) {
    case vxcbto_90_Degrees: // runs upwards, its top facing left
        return {o.x(), o.y() - run.Width, run.Height, run.Width};
    case vxcbto_180_Degrees: // runs leftwards, upside down
        return {o.x() - run.Width, o.y() - run.Height, run.Width, run.Height};
    case vxcbto_270_Degrees: // runs downwards, its top facing right
        return {o.x() - run.Height, o.y(), run.Height, run.Width};
    case vxcbto_0_Degrees:
        break;
    }
    return {o.x(), o.y(), run.Width, run.Height};
}

// ---------------------------------------------------------------------------
// The text box

namespace {
std::function<void(VxChartBaseTextClass &)> &EditorHook()
{
    static std::function<void(VxChartBaseTextClass &)> hook;
    return hook;
}
} // namespace

void VxChartBaseTextClass::SetEditorHook(std::function<void(VxChartBaseTextClass &)> hook)
{
    EditorHook() = std::move(hook);
}

VxChartBaseTextClass::VxChartBaseTextClass(QWidget *parent) : VxChartBaseMovingClass(parent)
{
    m_font = QFont(QStringLiteral("Arial"), 8);
    Measure();
    m_ready = true;
}

VxChartBaseTextClass::~VxChartBaseTextClass() = default;

void VxChartBaseTextClass::Assign(const VxChartBaseMovingClass &source)
{
    if (const auto *src = qobject_cast<const VxChartBaseTextClass *>(&source)) {
        SetText(src->Text());
        SetFont(src->Font());
        SetFontColor(src->FontColor());
        SetColor(src->Color());
        SetStringsArray(src->StringsArray());
        SetAutoSize(src->AutoSize());
        if (!src->AutoSize())
            SetBounds(Left(), Top(), src->Width(), src->Height());
        SetTextOrientation(src->TextOrientation());
        SetBorderStyle(src->BorderStyle());
        SetInnerGap(src->InnerGap());
        SetOuterGap(src->OuterGap());
        SetCurrImageList(src->CurrImageList());
        SetVisible(src->IsVisible());
        SetAutoEditable(src->AutoEditable());
    }
    VxChartBaseMovingClass::Assign(source);
}

QString VxChartBaseTextClass::ListText(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines)
        s += l + QLatin1Char('\n');
    return s;
}

QStringList VxChartBaseTextClass::SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

void VxChartBaseTextClass::SetText(const QString &s)
{
    if (s == m_text)
        return;
    m_text = s;
    m_lines = SplitLines(s);
    Measure();
    update();
}

void VxChartBaseTextClass::SetStringsArray(const QStringList &lines)
{
    m_lines = lines;
    m_text = ListText(lines);
    Measure();
    update();
}

void VxChartBaseTextClass::SetFont(const QFont &f)
{
    m_font = f;
    Measure();
    update();
}

void VxChartBaseTextClass::SetFontColor(const QColor &c)
{
    m_fontColor = c;
    update();
}

void VxChartBaseTextClass::SetColor(const QColor &c)
{
    m_color = c;
    update();
}

void VxChartBaseTextClass::SetAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        Measure();
    update();
}

void VxChartBaseTextClass::SetTextOrientation(VxChartBaseTextOrientation o)
{
    m_orientation = o;
    Measure();
    update();
}

void VxChartBaseTextClass::SetBorderStyle(VxChartBaseBorderStyle s)
{
    if (s == m_borderStyle)
        return;
    m_borderStyle = s;
    Measure();
    update();
}

void VxChartBaseTextClass::SetInnerGap(int gap)
{
    if (gap == m_innerGap)
        return;
    m_innerGap = gap;
    Measure();
    update();
}

void VxChartBaseTextClass::SetOuterGap(int gap)
{
    if (gap == m_outerGap)
        return;
    m_outerGap = gap;
    Measure();
    update();
}

void VxChartBaseTextClass::SetCurrImageList(VxChartImageList *list)
{
    disconnect(m_imageListConnection);
    m_imageList = list;
    if (list)
        m_imageListConnection = connect(list, &VxChartImageList::Changed, this, [this] {
            Measure();
            update();
        });
    Measure();
    update();
}

void VxChartBaseTextClass::SetVisible(bool on)
{
    setVisible(on);
    update();
}

int VxChartBaseTextClass::Frame() const
{
    return m_innerGap + m_outerGap + VxChartBorderWidth(m_borderStyle);
}

void VxChartBaseTextClass::Measure()
{
    const bool turned = m_orientation == vxcbto_90_Degrees || m_orientation == vxcbto_270_Degrees;
    m_layout = VxChartMeasureText(m_lines, m_font, m_imageList.data(), turned);
    if (!m_autoSize)
        return;
    const QSize s = VxChartTextBoxSize(TextExtent(), Frame(), m_orientation);
    if (m_ready)
        SetBounds(Left(), Top(), s.width(), s.height());
    else
        resize(s);
}

QColor VxChartBaseTextClass::InverseColor(const QColor &c)
{
    return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
}

QColor VxChartBaseTextClass::LightColor(const QColor &c)
{
    return QColor(qMin(255, c.red() + 32), qMin(255, c.green() + 32), qMin(255, c.blue() + 32));
}

QColor VxChartBaseTextClass::DarkColor(const QColor &c)
{
    return QColor(qMax(0, c.red() - 32), qMax(0, c.green() - 32), qMax(0, c.blue() - 32));
}

namespace {

// Draws the rectangle (l, t)-(r, b) edge by edge, top-left to top-right to
// bottom-right to bottom-left and back, each edge without its last pixel: the
// top and left edges in one colour, the right and bottom edges in another.
void PaintRectangle(QPainter &p, int l, int t, int r, int b, const QColor &topLeft, const QColor &bottomRight)
{
    if (r < l || b < t)
        return;
    if (r == l || b == t) { // degenerate: a line or a point
        p.setPen(topLeft);
        p.drawLine(l, t, r, b);
        return;
    }
    p.setPen(topLeft);
    p.drawLine(l, t, r - 1, t);
    p.setPen(bottomRight);
    p.drawLine(r, t, r, b - 1);
    p.drawLine(r, b, l + 1, b);
    p.setPen(topLeft);
    p.drawLine(l, b, l, t + 1);
}

} // namespace

void VxChartBaseTextClass::PaintFrame(QPainter &p) const
{
    const int o = m_outerGap;
    const int w = width(), h = height();
    const QColor inverse = InverseColor(m_color);
    const QColor light = LightColor(m_color);
    const QColor dark = DarkColor(m_color);
    switch (m_borderStyle) {
    case vxcbbsNone:
        break;
    case vxcbbsSimple:
        PaintRectangle(p, o, o, w - 1 - o, h - 1 - o, inverse, inverse);
        break;
    case vxcbbsRising:
    case vxcbbsPressed: {
        const bool rising = m_borderStyle == vxcbbsRising;
        PaintRectangle(p, o + 1, o + 1, w - 2 - o, h - 2 - o, inverse, inverse);
        PaintRectangle(p, o, o, w - 1 - o, h - 1 - o, rising ? light : dark, rising ? dark : light);
        break;
    }
    case vxcbbsUp:
    case vxcbbsDown: {
        const bool up = m_borderStyle == vxcbbsUp;
        PaintRectangle(p, o + 1, o + 1, w - 2 - o, h - 2 - o, inverse, inverse);
        PaintRectangle(p, o, o, w - 1 - o, h - 1 - o, up ? light : dark, up ? dark : light);
        PaintRectangle(p, o + 2, o + 2, w - 3 - o, h - 3 - o, up ? dark : light, up ? light : dark);
        break;
    }
    }
}

void VxChartBaseTextClass::PaintRuns(QPainter &p) const
{
    const int f = Frame();
    const QSize box = size();
    const int angle = int(m_orientation) * 90;
    for (const VxChartTextRun &run : m_layout.Runs) {
        if (run.Image >= 0) {
            if (m_imageList)
                m_imageList->Draw(p, VxChartRunRect(run, f, box, m_orientation).left(),
                                  VxChartRunRect(run, f, box, m_orientation).top(), run.Image);
            continue;
        }
        const QPoint origin = VxChartRunOrigin(run.X, run.Y, f, box, m_orientation);
        p.save();
        p.translate(origin);
        p.rotate(-angle); // counter-clockwise on the screen
        p.setFont(run.Font);
        p.setPen(m_fontColor);
        p.drawText(QPoint(0, QFontMetrics(run.Font).ascent()), run.Text);
        p.restore();
    }
}

void VxChartBaseTextClass::Paint(QPainter &p)
{
    if (!Transparent())
        p.fillRect(rect(), m_color);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    PaintFrame(p);
    PaintRuns(p);
    p.restore();
    VxChartBaseMovingClass::Paint(p);
}

void VxChartBaseTextClass::DblClick(const QPoint &pos)
{
    VxChartBaseMovingClass::DblClick(pos);
    if (m_autoEditable && EditorHook())
        EditorHook()(*this);
}

// ---------------------------------------------------------------------------
// The facade

VxChartBaseTextClassData::VxChartBaseTextClassData(QWidget *panel, QObject *owner)
    : QObject(owner), m_control(new VxChartBaseTextClass(panel))
{
}

VxChartBaseTextClassData::~VxChartBaseTextClassData()
{
    delete m_control.data();
}

void VxChartBaseTextClassData::Assign(const VxChartBaseTextClassData &source)
{
    SetText(source.Text());
    SetFont(source.Font());
    SetFontColor(source.FontColor());
    SetTransparent(source.Transparent());
    SetColor(source.Color());
    SetStringsArray(source.StringsArray());
    SetAutoSize(source.AutoSize());
    SetWidth(source.Width());
    SetHeight(source.Height());
    SetTop(source.Top());
    SetLeft(source.Left());
    SetTextOrientation(source.TextOrientation());
    SetBorderStyle(source.BorderStyle());
    SetInnerGap(source.InnerGap());
    SetOuterGap(source.OuterGap());
    SetCurrImageList(source.CurrImageList());
    SetVisible(source.Visible());
    SetAutoEditable(source.AutoEditable());
}
