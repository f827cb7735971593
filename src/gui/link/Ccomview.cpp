#include "gui/link/Ccomview.h"

#include "core/base/CommandIds.h"
#include "core/base/UiSeam.h"
#include "core/protocol/Protocol.h"
#include "gui/app/FontConversion.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>

namespace {
const char* const kFontSection = "comm";

// Whether a key's text goes to the controller: characters do, and the control characters typed as
// such (Enter, Tab, Backspace, Escape, Ctrl with a key); an editing key that carries one (Delete with
// its DEL) sends nothing.
bool TypedAsText(const QKeyEvent& event) {
    const char16_t first = event.text().front().unicode();
    if (first >= 32 && first != 127)
        return true;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backspace:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Delete:
        return false;
    default:
        return (event.modifiers() & Qt::ControlModifier) != 0;
    }
}
} // namespace

Ccomview::Ccomview(QWidget* parent) : QWidget(parent) {
    setObjectName("terminal");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    m_description = FontDescription::Load(kFontSection);
    ApplyFont();
    const int flash = QApplication::cursorFlashTime();
    m_blink.setInterval(flash > 0 ? flash / 2 : 500);
    connect(&m_blink, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        update(QRect(caretPosition(), QSize(2, m_lineHeight)));
    });
    m_repaint.setSingleShot(true);
    connect(&m_repaint, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_sincePaint.start();
    // The link made the document and asked for this window; the view only shows it.
    commLink().SetTerminal(this);
    RefreshTitle();
    resize(m_charWidth * Ccom1doc::kMinWidth, m_lineHeight * 24);
}

Ccomview::~Ccomview() {
    Release();
}

void Ccomview::Release() {
    if (m_released)
        return;
    m_released = true;
    if (m_fontChanged)
        m_description.Save(kFontSection);
    commLink().DropDocument();
}

void Ccomview::closeEvent(QCloseEvent* event) {
    // Released at once, not when the window is deleted later: a re-open right after the close must
    // find no document and make a new window.
    Release();
    QWidget::closeEvent(event);
}

void Ccomview::ApplyFont() {
    m_font = ToQFont(m_description);
    const QFontMetrics metrics(m_font);
    m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('m')));
    m_lineHeight = std::max(1, metrics.lineSpacing());
    m_ascent = metrics.ascent();
    UpdateLineWidth();
    update();
}

void Ccomview::SetTerminalFont(const FontDescription& description) {
    m_description = description;
    m_fontChanged = true;
    ApplyFont();
}

void Ccomview::ChooseFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, m_font, this, tr("Font"), QFontDialog::MonospacedFonts);
    if (ok)
        SetTerminalFont(FromQFont(chosen, m_description));
}

bool Ccomview::HandlesCommand(int id) const {
    return id == ID_SETTINGS_FONT;
}

void Ccomview::RunCommand(int id) {
    if (id == ID_SETTINGS_FONT)
        ChooseFont();
}

void Ccomview::TextArrived() {
    RefreshTitle();
    if (!m_repaint.isActive()) {
        const qint64 wait = kRepaintIntervalMs - m_sincePaint.elapsed();
        if (wait <= 0)
            update();
        else
            m_repaint.start(static_cast<int>(wait));
    }
    // Text the operator typed or the controller printed on its own can move the reply state too.
    if (protocol().ReplyState != m_lastReplyState) {
        m_lastReplyState = protocol().ReplyState;
        ui().KickIdle();
    }
}

void Ccomview::RefreshTitle() {
    if (const Ccom1doc* doc = commLink().document())
        setWindowTitle(QString::fromStdString(doc->title));
}

int Ccomview::visibleLines() const {
    return height() / m_lineHeight;
}

int Ccomview::firstShownLine() const {
    const Ccom1doc* doc = commLink().document();
    if (!doc)
        return 0;
    return std::max(0, doc->GetLineCount() - visibleLines());
}

QPoint Ccomview::caretPosition() const {
    const Ccom1doc* doc = commLink().document();
    if (!doc)
        return QPoint();
    const int row = doc->GetLineCount() - 1 - firstShownLine();
    return QPoint(doc->GetColumn() * m_charWidth, std::max(0, row) * m_lineHeight);
}

void Ccomview::UpdateLineWidth() {
    if (Ccom1doc* doc = commLink().document())
        doc->SetLineWidth(width() / m_charWidth);
}

void Ccomview::resizeEvent(QResizeEvent* event) {
    UpdateLineWidth();
    QWidget::resizeEvent(event);
}

void Ccomview::paintEvent(QPaintEvent*) {
    m_sincePaint.restart();
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const Ccom1doc* doc = commLink().document();
    if (!doc)
        return;
    UpdateLineWidth();
    p.setFont(m_font);
    p.setPen(palette().text().color());
    const int count = doc->GetLineCount();
    const int first = firstShownLine();
    for (int i = first; i < count; ++i)
        p.drawText(0, (i - first) * m_lineHeight + m_ascent, QString::fromLatin1(doc->GetLine(i).c_str()));
    if (hasFocus() && m_caretOn)
        p.fillRect(QRect(caretPosition(), QSize(2, m_lineHeight)), palette().text());
}

void Ccomview::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty() || !TypedAsText(*event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            protocol().SendChar(static_cast<char>(ch.unicode()));
        else
            ui().Beep();
    }
    // A typed line moves the reply state away from idle until the controller's prompt returns.
    ui().KickIdle();
}

bool Ccomview::focusNextPrevChild(bool) {
    // Tab is a character for the controller, not a move to another control.
    return false;
}

void Ccomview::focusInEvent(QFocusEvent* event) {
    m_caretOn = true;
    m_blink.start();
    update();
    QWidget::focusInEvent(event);
}

void Ccomview::focusOutEvent(QFocusEvent* event) {
    m_blink.stop();
    m_caretOn = false;
    update();
    QWidget::focusOutEvent(event);
}
