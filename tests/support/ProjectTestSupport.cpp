#include "support/ProjectTestSupport.h"

using namespace runlist;

bool FakeTextDocuments::SaveAs(const std::string& path, const std::string& newPath) {
    calls.push_back("save " + path + " as " + newPath);
    Doc d = docs[path];
    docs.erase(path);
    d.modified = false;
    docs[newPath] = d;
    WriteFile(QString::fromStdString(newPath), QByteArray::fromStdString(d.text));
    return true;
}

bool FakeTextDocuments::OpenOrActivate(const std::string& path) {
    calls.push_back("show " + path);
    if (docs.count(path))
        return true;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    docs[path] = Doc{file.readAll().toStdString(), false};
    return true;
}

void ProjectTest::WriteEmptyProject(const char* base) {
    WriteFile(dir.filePath(QString(base) + ".run"),
              QByteArray("\x10\0\0\0\x04\0\0\0\0\0\0\0\x08\0\0\0\0\0", 18));
    WriteFile(dir.filePath(QString(base) + ".ed1"), "KAVENTRIX\nSTARTOVER\n");
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

ProjectTest::ProjectTest() {
    controller.lineAnswer = [this](const std::string& line) { return Answer(line); };
    QObject::connect(&projectService(), &ProjectService::Changed, [this](ProjectService::Changes what) {
        if (what.testFlag(ProjectService::Opened))
            announced.push_back("opened");
        if (what.testFlag(ProjectService::Closed))
            announced.push_back("closed");
    });
}

ProjectTest::~ProjectTest() = default;

int ProjectTest::AddPlace(const std::string& name) {
    const int p = projectService().AllocateEntry(kPlaceParagraphs, name);
    ProjectModel& m = projectModel();
    m.SetWord(p + kKind, kPlace);
    m.SetWord(p + kFixed, kFixedWord);
    PositionRecord pos;
    pos.code = poscode::kCartesian;
    pos.values[0] = 2500;
    pos.values[2] = -100;
    m.SetRecord(p + kPlacePosition, pos);
    PositionRecord approach;
    approach.code = poscode::kCartesianRelative;
    m.SetRecord(p + kPlaceApproach, approach);
    return p;
}

int ProjectTest::AddRoute(const std::string& name, int lines) {
    ProjectModel& m = projectModel();
    const int r = projectService().AllocateEntry(lines + 1, name);
    m.SetWord(r + kKind, kRoute);
    m.SetWord(r + kCount, 0);
    m.SetWord(r + kMode, 0);
    m.SetWord(r + kRelative, 0);
    m.SetWord(r + kFixed, kFixedWord);
    m.SetWord(r + kRows, 0);
    for (int n = 1; n <= lines; ++n)
        m.SetRecord(m.LineOffset(r, n), PositionRecord{});
    return r;
}

std::string ProjectTest::Answer(const std::string& line) {
    // After "|" the controller answers with the prompt alone until the I/O flag is set again.
    if (line == "|")
        quiet = true;
    else if (line == "IOFLAG C0SET")
        quiet = false;
    return quiet ? " >" : line + " OK\r\n>";
}
