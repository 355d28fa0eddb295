// Unit u11: what the Help menu shows.  The user guide window (TForm11)
// shows the program's guide, the text installed as its documentation
// (doc/user-guide.md, built into the program); the About text names the
// version, the licence and the project's address.
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace resheat::ui {

// The guide as built into the program (Markdown).
QString UserGuideText();

// The About box's rich text: "ResHeat <version>", what it does, the
// licence and the project's address as a link.
QString AboutText();

class TForm11 : public QWidget {
    Q_OBJECT
public:
    TForm11();

    QTextBrowser *TextBrowser1 = nullptr;
    QPushButton *Button1 = nullptr;   // "Close"

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_placed = false;
};

} // namespace resheat::ui
