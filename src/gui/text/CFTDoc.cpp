#include "gui/text/CFTDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>

#include <vector>

namespace {

// Line ends as kept in a block's user state; -1 (a block made while editing) takes the default.
constexpr int kEndLf = 1;
constexpr int kEndCrLf = 2;
constexpr int kEndCr = 3;

const char* EndBytes(int end) {
    switch (end) {
    case kEndCrLf:
        return "\r\n";
    case kEndCr:
        return "\r";
    default:
        return "\n";
    }
}

// A line's characters as bytes: a character up to 255 is that byte; one beyond (typed or pasted, it
// cannot come from a file) is written in UTF-8 rather than lost.
QByteArray LineBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i).unicode() <= 0xff) {
            bytes += static_cast<char>(text.at(i).unicode());
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && text.at(i).unicode() > 0xff)
            ++i;
        bytes += text.mid(start, i - start).toUtf8();
    }
    return bytes;
}

struct Line {
    QByteArray text;
    int end; // 0 for the last line, which has none
};

std::vector<Line> SplitLines(const QByteArray& bytes) {
    std::vector<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\n' && c != '\r')
            continue;
        int end = kEndLf;
        const qsizetype textEnd = i;
        if (c == '\r') {
            end = kEndCr;
            if (i + 1 < bytes.size() && bytes.at(i + 1) == '\n') {
                end = kEndCrLf;
                ++i;
            }
        }
        lines.push_back({bytes.mid(start, textEnd - start), end});
        start = i + 1;
    }
    lines.push_back({bytes.mid(start), 0});
    return lines;
}

} // namespace

CFTDoc::CFTDoc(QObject* parent) : QObject(parent), m_text(new QTextDocument(this)), m_defaultEnd(kEndLf) {
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text));
}

QString CFTDoc::title() const {
    return QFileInfo(m_path).fileName();
}

void CFTDoc::SetPath(const QString& path) {
    m_path = path.isEmpty() ? QString() : FullPath(path);
    emit pathChanged();
}

QString CFTDoc::FullPath(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

CFTDoc::ReadResult CFTDoc::Read(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return file.exists() ? ReadResult::Failed : ReadResult::Missing;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return ReadResult::Failed;
    }
    SetBytes(bytes);
    SetPath(path);
    return ReadResult::Ok;
}

bool CFTDoc::Write(const QString& path, QString* error) {
    QSaveFile file(path);
    const QByteArray bytes = Bytes();
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        if (error)
            *error = file.errorString();
        return false;
    }
    SetModified(false);
    if (FullPath(path) != m_path)
        SetPath(path);
    return true;
}

QByteArray CFTDoc::Bytes() const {
    QByteArray bytes;
    for (QTextBlock block = m_text->begin(); block.isValid(); block = block.next()) {
        bytes += LineBytes(block.text());
        if (block.next().isValid()) {
            const int end = block.userState();
            bytes += EndBytes(end > 0 ? end : m_defaultEnd);
        }
    }
    return bytes;
}

void CFTDoc::SetBytes(const QByteArray& bytes) {
    const std::vector<Line> lines = SplitLines(bytes);
    QString text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += QString::fromLatin1(lines[i].text);
    }
    m_text->setPlainText(text);
    m_defaultEnd = lines.size() > 1 ? lines.front().end : kEndLf;
    QTextBlock block = m_text->begin();
    for (const Line& line : lines) {
        if (!block.isValid())
            break;
        block.setUserState(line.end > 0 ? line.end : -1);
        block = block.next();
    }
    m_text->setModified(false);
}

bool CFTDoc::IsModified() const {
    return m_text->isModified();
}

void CFTDoc::SetModified(bool modified) {
    m_text->setModified(modified);
}
