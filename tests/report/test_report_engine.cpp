// The report engine: page model, placement of labels and image boxes on
// devices of different resolutions, PDF output and the preview window.
#include "report/ReportForm.h"
#include "report/ReportPreview.h"
#include "report/ReportRenderer.h"

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "support/ChildProcess.h"

using namespace resheat::report;

namespace {

constexpr double kMmPerInch = 25.4;

double Dots(double mm, double dpi) { return mm * dpi / kMmPerInch; }

// A form like the printed results page: A4, 10 mm margins, one band.
ReportForm SampleForm()
{
    ReportForm form;
    form.band().widthMm = 190.1;
    form.band().heightMm = 273.5;
    ReportLabel &title = form.addLabel("Title", 0, 3.4, "Centred title");
    title.font.pointSize = 18;
    title.font.bold = true;
    title.alignment = LabelAlignment::CentreOnBand;
    ReportLabel &heading = form.addLabel("Heading", 49.1, 16.9, "Input data");
    heading.font.pointSize = 14;
    form.addLabel("Name", 5.1, 30.5, "Material");
    form.addLabel("Value", 55.9, 30.5, "steel");
    return form;
}

// Bounding box of the pixels darker than mid grey inside `area`.
QRect InkBox(const QImage &image, const QRect &area)
{
    QRect box;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

// Bounding box of the pixels of one colour.
QRect ColourBox(const QImage &image, QRgb colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

QString RunTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TEST(ReportForm, PageIsA4PortraitWithMarginsAndBandAtTheTopLeftMargin)
{
    ReportForm form = SampleForm();
    EXPECT_NEAR(form.pageSizeMm().width(), 210.0, 0.01);
    EXPECT_NEAR(form.pageSizeMm().height(), 297.0, 0.01);
    EXPECT_EQ(form.pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(form.bandRectMm(), QRectF(10, 10, 190.1, 273.5));

    form.setMarginsMm(QMarginsF(15, 12, 10, 10));
    EXPECT_EQ(form.bandRectMm().topLeft(), QPointF(15, 12));
    EXPECT_EQ(form.labelRectMm(*form.findLabel("Name")).topLeft(), QPointF(20.1, 42.5));
}

TEST(ReportForm, LabelsTakeTheBaseFontAndAreFoundByName)
{
    ReportForm form;
    ReportFont base;
    base.pointSize = 12;
    form.setBaseFont(base);
    ReportLabel &label = form.addLabel("A", 1, 2, "x");
    form.addLabel("B", 3, 4, "y");   // adding must not move the first label
    EXPECT_EQ(&label, form.findLabel("A"));
    EXPECT_EQ(label.font.family, "Arial");
    EXPECT_EQ(label.font.pointSize, 12);
    EXPECT_FALSE(label.font.bold);
    EXPECT_EQ(form.findLabel("C"), nullptr);
    EXPECT_EQ(form.findImageBox("A"), nullptr);
}

TEST(ReportForm, LabelsSizeThemselvesToTheirText)
{
    ReportFont font;   // Arial 10 pt
    const QSizeF one = TextSizeMm(font, "W");
    const QSizeF two = TextSizeMm(font, "WW");
    EXPECT_NEAR(two.width(), 2 * one.width(), 0.05);
    // A 10 pt line of this face is about 1.15 em high: 10 * 0.3528 * 1.15 mm.
    EXPECT_NEAR(one.height(), 4.06, 0.25);
    // A capital W is nearly one em wide (0.94 em): about 3.3 mm at 10 pt.
    EXPECT_NEAR(one.width(), 3.3, 0.3);

    ReportFont large = font;
    large.pointSize = 20;
    EXPECT_NEAR(TextSizeMm(large, "Input data").width(), 2 * TextSizeMm(font, "Input data").width(),
                0.1);
    ReportFont bold = font;
    bold.bold = true;
    EXPECT_GT(TextSizeMm(bold, "Results").width(), TextSizeMm(font, "Results").width());
    EXPECT_EQ(TextSizeMm(font, QString()).width(), 0.0);
}

TEST(ReportForm, CentredLabelIsCentredOnTheBandWidthWhateverItsLeft)
{
    ReportForm form = SampleForm();
    ReportLabel &title = *form.findLabel("Title");
    title.leftMm = 150;   // ignored when centred
    const QRectF rect = form.labelRectMm(title);
    EXPECT_NEAR(rect.center().x(), 10 + 190.1 / 2, 1e-9);
    EXPECT_NEAR(rect.top(), 13.4, 1e-9);
    title.caption = "A much longer title than before";
    EXPECT_NEAR(form.labelRectMm(title).center().x(), 10 + 190.1 / 2, 1e-9);
    EXPECT_LT(form.labelRectMm(title).left(), rect.left());
}

TEST(ReportForm, ImageBoxTakesTheSizeOfItsPicture)
{
    ReportForm form;
    ReportImageBox &box = form.addImageBox("Image1", 47.4, 50.8, 64.6, 37.5);
    QImage picture(192, 96, QImage::Format_RGB32);   // a new image has 96 dpi
    box.setPicture(picture);
    EXPECT_NEAR(box.widthMm, 50.8, 0.01);
    EXPECT_NEAR(box.heightMm, 25.4, 0.01);

    QImage fine(600, 300, QImage::Format_RGB32);
    fine.setDotsPerMeterX(static_cast<int>(300 / kMmPerInch * 1000 + 0.5));
    fine.setDotsPerMeterY(static_cast<int>(300 / kMmPerInch * 1000 + 0.5));
    box.setPicture(fine);
    EXPECT_NEAR(box.widthMm, 50.8, 0.01);
    EXPECT_NEAR(box.heightMm, 25.4, 0.01);
    EXPECT_EQ(form.imageRectMm(box).topLeft(), QPointF(57.4, 60.8));
}

TEST(ReportForm, ImageBoxCentredOnTheBandKeepsItsTopAndIgnoresItsLeft)
{
    ReportForm form;
    form.band().widthMm = 190.1;
    ReportImageBox &box = form.addImageBox("Image1", 47.4, 50.8, 64.6, 37.5);
    box.alignment = LabelAlignment::CentreOnBand;
    EXPECT_EQ(form.imageRectMm(box), QRectF(10 + (190.1 - 64.6) / 2, 60.8, 64.6, 37.5));
    box.setPicture(QImage(384, 96, QImage::Format_RGB32));   // 4 by 1 inch
    EXPECT_NEAR(form.imageRectMm(box).center().x(), 10 + 190.1 / 2, 1e-9);
    EXPECT_NEAR(form.imageRectMm(box).left(), 10 + (190.1 - 101.6) / 2, 0.02);   // 3780 dots a metre
    EXPECT_NEAR(form.imageRectMm(box).top(), 60.8, 1e-9);
}

class RendererAtResolution : public ::testing::TestWithParam<double> {};

TEST_P(RendererAtResolution, LabelsLandAtTheirMillimetrePositions)
{
    const double dpi = GetParam();
    const ReportForm form = SampleForm();
    const ReportRenderer renderer(form);
    const ReportLabel &heading = *form.findLabel("Heading");

    const QRectF place = renderer.labelRect(heading, dpi, dpi);
    EXPECT_NEAR(place.left(), Dots(10 + 49.1, dpi), 1e-6);
    EXPECT_NEAR(place.top(), Dots(10 + 16.9, dpi), 1e-6);

    // The ink of the label starts at its left (less than a side bearing of
    // 0.5 mm) and lies inside its rectangle.
    const QImage page = RenderPageImage(form, dpi);
    EXPECT_EQ(page.width(), qRound(Dots(210, dpi)));
    EXPECT_EQ(page.height(), qRound(Dots(297, dpi)));
    const QRect ink = InkBox(page, place.toAlignedRect().adjusted(-20, -20, 20, 20));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), place.left() - 1);
    EXPECT_LE(ink.left(), place.left() + Dots(0.5, dpi));
    EXPECT_GE(ink.top(), place.top());
    EXPECT_LE(ink.bottom(), place.bottom() + 1);
    EXPECT_GT(ink.width(), place.width() * 0.85);
    EXPECT_LE(ink.right(), place.right() + Dots(0.5, dpi));
}

TEST_P(RendererAtResolution, CentredTitleInkIsCentredOnTheBand)
{
    const double dpi = GetParam();
    const ReportForm form = SampleForm();
    const ReportRenderer renderer(form);
    const QRectF place = renderer.labelRect(*form.findLabel("Title"), dpi, dpi);
    const QRect ink = InkBox(RenderPageImage(form, dpi), place.toAlignedRect().adjusted(-40, 0, 40, 0));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR((ink.left() + ink.right() + 1) / 2.0, Dots(10 + 190.1 / 2, dpi), Dots(0.4, dpi));
}

TEST_P(RendererAtResolution, PictureIsDrawnCentredInItsBoxAtItsOwnSize)
{
    const double dpi = GetParam();
    ReportForm form = SampleForm();
    ReportImageBox &box = form.addImageBox("Image1", 40, 100, 100, 60);
    box.autoSize = false;
    QImage picture(96, 48, QImage::Format_RGB32);   // 1 x 0.5 inch at 96 dpi
    picture.fill(qRgb(255, 0, 0));
    box.setPicture(picture);
    EXPECT_EQ(box.widthMm, 100);   // fixed box keeps its size

    const QRect red = ColourBox(RenderPageImage(form, dpi), qRgb(255, 0, 0));
    ASSERT_FALSE(red.isEmpty());
    const QPointF boxCentre(Dots(10 + 40 + 50, dpi), Dots(10 + 100 + 30, dpi));
    EXPECT_NEAR((red.left() + red.right() + 1) / 2.0, boxCentre.x(), 1.5);
    EXPECT_NEAR((red.top() + red.bottom() + 1) / 2.0, boxCentre.y(), 1.5);
    EXPECT_NEAR(red.width(), dpi, 2);
    EXPECT_NEAR(red.height(), dpi / 2, 2);
}

INSTANTIATE_TEST_SUITE_P(TwoResolutions, RendererAtResolution, ::testing::Values(96.0, 300.0));

TEST(ReportRenderer, PictureLargerThanAFixedBoxIsClippedToTheBox)
{
    ReportForm form;
    form.band().widthMm = 190;
    form.band().heightMm = 200;
    ReportImageBox &box = form.addImageBox("Image1", 20, 20, 25.4, 25.4);
    box.autoSize = false;
    QImage picture(192, 192, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 255));
    box.setPicture(picture);
    const QRect blue = ColourBox(RenderPageImage(form, 96), qRgb(0, 0, 255));
    EXPECT_NEAR(blue.width(), 96, 1);
    EXPECT_NEAR(blue.left(), Dots(30, 96), 1);
}

TEST(ReportRenderer, PdfHoldsTheTextsAtTheirPlacesOnAnA4Page)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath("page.pdf");
    ASSERT_TRUE(WritePdf(SampleForm(), pdf));

    const QString info = RunTool("pdfinfo", {pdf});
    ASSERT_FALSE(info.isEmpty()) << "pdfinfo is missing";
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\b")));
    EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();

    const QString text = RunTool("pdftotext", {"-layout", pdf, "-"});
    const qsizetype title = text.indexOf("Centred title");
    const qsizetype heading = text.indexOf("Input data");
    const qsizetype name = text.indexOf("Material");
    const qsizetype value = text.indexOf("steel");
    EXPECT_GE(title, 0);
    EXPECT_GT(heading, title);
    EXPECT_GT(name, heading);
    EXPECT_GT(value, name);

    // Word boxes in points: "Material" starts 15.1 mm from the paper's left
    // edge, "steel" 65.9 mm; the heading's top is 26.9 mm down.
    const QString boxes = RunTool("pdftotext", {"-bbox", pdf, "-"});
    auto wordBox = [&boxes](const QString &word) {
        const QRegularExpression re(
            "xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>" + QRegularExpression::escape(word) + "<");
        const auto match = re.match(boxes);
        return match.hasMatch() ? QPointF(match.captured(1).toDouble(), match.captured(2).toDouble())
                                : QPointF(-1, -1);
    };
    const double ptPerMm = 72 / kMmPerInch;
    EXPECT_NEAR(wordBox("Material").x(), 15.1 * ptPerMm, 1.5);
    EXPECT_NEAR(wordBox("steel").x(), 65.9 * ptPerMm, 1.5);
    EXPECT_NEAR(wordBox("Input").x(), 59.1 * ptPerMm, 1.5);
    // The word box starts at the top of the glyphs, a little under the label's top.
    EXPECT_NEAR(wordBox("Input").y(), 26.9 * ptPerMm, 3);
}

TEST(ReportRenderer, PdfToAnUnwritablePlaceFails)
{
    EXPECT_FALSE(WritePdf(SampleForm(), "/nonexistent-folder/page.pdf"));
}

TEST(ReportRenderer, APdfThatCannotBeWrittenLeavesTheOldOneWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath("page.pdf");
    const QByteArray old = "%PDF- an earlier page\n";
    {
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    // The file size limit stands for a full disk: the page's some kilobytes
    // do not fit, the old 23 bytes stay.
    const struct {
        const char *name;
        rlim_t limit;
        bool written;
    } rows[] = {{"full disk", 100, false}, {"room enough", RLIM_INFINITY, true}};
    for (const auto &row : rows) {
        const auto report = resheat::testing::InChild(false, [&]() -> std::string {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{row.limit, row.limit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return WritePdf(SampleForm(), pdf) ? "written" : "refused";
        });
        ASSERT_TRUE(report);
        EXPECT_EQ(*report, row.written ? "written" : "refused") << row.name;
        QFile f(pdf);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray now = f.readAll();
        if (row.written)
            EXPECT_TRUE(now.startsWith("%PDF-1.") && now.size() > 1000) << row.name;
        else
            EXPECT_EQ(now, old) << row.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.pdf"}) << row.name;
    }
    // A device is written as it is.
    EXPECT_TRUE(WritePdf(SampleForm(), "/dev/null"));
    EXPECT_TRUE(QFileInfo("/dev/null").exists() && !QFileInfo("/dev/null").isFile());
}

TEST(ReportPreview, PreviewShowsOnePageAndReturnsWhenItsWindowCloses)
{
    const ReportForm form = SampleForm();
    int pages = -1;
    bool seen = false;
    bool a4Portrait = false;
    bool pdfAction = false;
    bool fitsScreen = false;
    // Looks for the preview every 50 ms until it is up, however slow the
    // machine is.
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QPrintPreviewDialog *dialog = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *candidate = qobject_cast<QPrintPreviewDialog *>(widget);
            if (candidate && candidate->isVisible())
                dialog = candidate;
        }
        if (!dialog)
            return;
        poll.stop();
        seen = true;
        if (auto *view = dialog->findChild<QPrintPreviewWidget *>())
            pages = view->pageCount();
        const QPageLayout layout = dialog->printer()->pageLayout();
        a4Portrait = layout.pageSize().id() == QPageSize::A4 &&
                     layout.orientation() == QPageLayout::Portrait;
        for (QAction *action : dialog->findChildren<QAction *>())
            pdfAction = pdfAction || action->text() == "Save as PDF";
        // The window fits the screen (here the 800 by 600 screen of the test
        // platform) with its frame.
        fitsScreen = dialog->screen()->availableGeometry().contains(dialog->frameGeometry());
        if (!qEnvironmentVariableIsEmpty("RESHEAT_SHOTS"))
            dialog->grab().save(QDir(qEnvironmentVariable("RESHEAT_SHOTS")).filePath("preview.png"));
        dialog->reject();
    });
    poll.start();
    ShowPreviewDialog(form);
    EXPECT_TRUE(seen);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(a4Portrait);
    EXPECT_TRUE(pdfAction);
    EXPECT_TRUE(fitsScreen);
}
