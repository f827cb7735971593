#include "core/project/ProjectFiles.h"

#include "core/project/ProjectModel.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <sstream>
#include <vector>

using namespace runlist;

namespace {

size_t BaseNameStart(const std::string& path) {
    const size_t slash = path.find_last_of("/\\:");
    return slash == std::string::npos ? 0 : slash + 1;
}

std::vector<std::string> Tokens(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    std::string token;
    while (in >> token)
        tokens.push_back(token);
    return tokens;
}

// Binds the entry at RunListEnd to `name`; the error text, or empty.
std::string BindEntry(ProjectModel& model, uint16_t kind, const std::string& name) {
    const int e = model.RunListEnd;
    const int link = model.Word(e + kLink);
    if (link == 0 || link <= e)
        return "run file too short";
    if (model.EntryKind(e) != kind)
        return name + (kind == kPlace ? " not an old PLACE" : " not an old ROUTE");
    model.EntryNames.push_back(name);
    model.SetWord(e + kNameIndex, static_cast<uint16_t>(model.EntryNames.size() - 1));
    if (link > kAllocationLimit)
        return "PC has insufficient space for run-list";
    model.RunListEnd = link;
    return std::string();
}

} // namespace

std::string ChangeExtension(const std::string& path, const std::string& ext) {
    if (path.empty())
        return std::string();
    const size_t base = BaseNameStart(path);
    const size_t dot = path.find_last_of('.');
    const std::string stem = dot != std::string::npos && dot >= base ? path.substr(0, dot) : path;
    return stem + "." + ext;
}

std::string CompanionPath(const std::string& path, const std::string& ext) {
    const std::string wanted = ChangeExtension(path, ext);
    if (wanted.empty() || QFileInfo::exists(QString::fromStdString(wanted)))
        return wanted;
    const QFileInfo info(QString::fromStdString(wanted));
    const QString suffix = info.suffix();
    const QStringList names = info.dir().entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QFileInfo candidate(name);
        if (candidate.completeBaseName() == info.completeBaseName() &&
            candidate.suffix().compare(suffix, Qt::CaseInsensitive) == 0)
            return info.dir().filePath(name).toStdString();
    }
    return wanted;
}

QByteArray RunFileBytes(const ProjectModel& model) {
    QByteArray bytes(reinterpret_cast<const char*>(model.RunList.data()), model.RunListEnd + 2);
    // The head link is always 16, whatever the image holds there.
    bytes[0] = 16;
    bytes[1] = 0;
    return bytes;
}

void LoadRunFileBytes(ProjectModel& model, const QByteArray& bytes) {
    model.RunList.fill(0);
    const int n = std::min<int>(static_cast<int>(bytes.size()), kImageSize);
    std::copy(bytes.constData(), bytes.constData() + n, model.RunList.begin());
}

std::string BindDeclarations(ProjectModel& model, const std::string& text) {
    model.ResetRunListHead();
    const std::vector<std::string> tokens = Tokens(text);
    for (size_t i = 2; i < tokens.size(); ++i) {
        const std::string& keyword = tokens[i];
        if (keyword != "PLACE" && keyword != "ROUTE")
            continue;
        if (++i >= tokens.size())
            break; // a keyword without a name at the very end declares nothing
        const std::string error = BindEntry(model, keyword == "PLACE" ? kPlace : kRoute, tokens[i]);
        if (!error.empty())
            return error;
    }
    model.SetWord(model.RunListEnd, 0);
    return std::string();
}

bool WriteDeclarations(std::ostream& out) {
    return WriteDeclarations(out, projectModel());
}

bool WriteDeclarations(std::ostream& out, const ProjectModel& model) {
    out.clear();
    out << "KAVENTRIX\nSTARTOVER\n";
    if (!out) {
        out.clear();
        return false;
    }
    for (int e = model.FirstEntry(); e != kNoEntry; e = model.NextEntry(e)) {
        const uint16_t kind = model.EntryKind(e);
        out << (kind == kPlace   ? "PLACE"
                : kind == kRoute ? "ROUTE"
                                 : "")
            << " " << model.EntryName(e) << "\n";
        if (!out) {
            out.clear();
            return false;
        }
    }
    return true;
}
