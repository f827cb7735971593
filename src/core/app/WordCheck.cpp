#include "core/app/WordCheck.h"

#include "core/app/DataFolder.h"
#include "core/app/SourceTokenizer.h"
#include "core/base/CoreState.h"
#include "core/base/UiSeam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr int kRecordLength = 19;
constexpr int kLengthOffset = 5;
constexpr int kNameOffset = 7;

bool IsWordListBlank(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

int DigitValue(char c) {
    int v = static_cast<unsigned char>(c) - 48;
    if (v > 9)
        v -= 7;
    return v;
}

void ShowFileError(const QString& path, const QString& error, const char* what) {
    ui().ShowMessage(QDir::toNativeSeparators(path).toStdString() + what + error.left(255).toStdString());
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

void WordCheck::ParseWordList(const QByteArray& bytes, WordTable& table) {
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    for (;;) {
        while (pos < size && IsWordListBlank(bytes[pos]))
            ++pos;
        if (pos >= size || pos + kLengthOffset >= size)
            return;
        const int length = DigitValue(bytes[pos + kLengthOffset]);
        const qsizetype name = pos + kNameOffset;
        const size_t available = name < size ? static_cast<size_t>(size - name) : 0;
        table.AddEntry(length, bytes.constData() + std::min(name, size), available);
        pos += kRecordLength;
        if (pos > size)
            return;
    }
}

bool WordCheck::LoadControllerWords(const QString& directory) {
    const QString path = QDir(directory).filePath(kWordListName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowFileError(path, file.errorString(), " could not be opened because of this error: ");
        return false;
    }
    ParseWordList(file.readAll(), m_controller);
    return true;
}

bool WordCheck::IsDefiningWord(const std::string& token) {
    static const char* const kDefining[] = {":", "CONSTANT", "VARIABLE", "USER", "USARRAY", "CODE"};
    for (const char* d : kDefining)
        if (token == d)
            return true;
    return false;
}

void WordCheck::CheckWord(const std::string& word, std::string& report) {
    if (m_controller.Matches(word)) {
        report += word + kKaventrixConflict;
        m_conflict = true;
    }
    if (m_project.Matches(word)) {
        report += word + kProjectConflict;
        m_conflict = true;
    }
    m_project.Add(word);
}

std::string WordCheck::CheckProject(const std::vector<std::string>& names, const std::string& source) {
    m_conflict = false;
    m_project.Clear();
    std::string report;
    for (const std::string& name : names)
        CheckWord(name, report);
    SourceTokenizer tokens(source);
    std::string word;
    while (tokens.NextSignificantWord(word)) {
        if (!IsDefiningWord(word))
            continue;
        if (!tokens.NextSignificantWord(word))
            break;
        CheckWord(word, report);
    }
    return report;
}

std::string WordCheck::ReportPath(const std::string& ed2Path) {
    const QFileInfo source(QString::fromStdString(ed2Path));
    return source.dir().filePath("conflicts.txt").toStdString();
}

WordCheck::Outcome WordCheck::CheckFiles(const std::vector<std::string>& names, const std::string& ed2Path) {
    m_conflict = false;
    const QString sourcePath = QString::fromStdString(ed2Path);
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        ShowFileError(sourcePath, source.errorString(), " could not be opened because of this error: ");
        return Outcome::Failed;
    }
    const QByteArray text = source.readAll();
    source.close();

    const std::string report = WithCrLf(CheckProject(names, text.toStdString()));
    const QString reportPath = QString::fromStdString(ReportPath(ed2Path));
    QSaveFile out(reportPath);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(report.data(), static_cast<qint64>(report.size())) != static_cast<qint64>(report.size()) ||
        !out.commit()) {
        ShowFileError(reportPath, out.errorString(), " could not be saved because of this error: ");
        return Outcome::Failed;
    }
    return m_conflict ? Outcome::Conflicts : Outcome::NoConflicts;
}

WordCheck& wordCheck() {
    return coreState().Get<WordCheck>();
}

void LoadControllerWordList() {
    wordCheck().LoadControllerWords(
        DataFolder(QCoreApplication::applicationDirPath(), WordCheck::kWordListName));
}
