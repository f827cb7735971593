#include "gui/text/TextWindows.h"

#include "core/app/RecentFiles.h"
#include "core/base/UiSeam.h"
#include "core/text/SourceDownload.h"
#include "gui/app/WindowKinds.h"
#include "gui/text/CFTDoc.h"
#include "gui/text/Cfthview.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSaveFile>

#include <vector>

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

bool WriteEmptyFile(const QString& path, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.commit())
        return true;
    *error = file.errorString();
    return false;
}

} // namespace

TextWindows::TextWindows(QMdiArea* area, WindowKinds& kinds) : m_area(area), m_kinds(kinds) {
    WindowKinds::Kind kind;
    kind.title = "Text";
    kind.single = false;
    kind.createView = [this]() -> QWidget* {
        if (!m_pending)
            return nullptr;
        return new Cfthview(m_pending.release());
    };
    m_kinds.Register(WindowKind::TextEditor, kind);
}

TextWindows::~TextWindows() = default;

Cfthview* TextWindows::OpenWindow(std::unique_ptr<CFTDoc> doc) {
    if (!m_area)
        return nullptr;
    m_pending = std::move(doc);
    QMdiSubWindow* window = m_kinds.Open(WindowKind::TextEditor);
    m_pending.reset();
    if (!window)
        return nullptr;
    auto* view = qobject_cast<Cfthview*>(window->widget());
    if (view)
        view->setFocus();
    return view;
}

void TextWindows::Activate(Cfthview* view) const {
    if (auto* window = qobject_cast<QMdiSubWindow*>(view->parentWidget()); window && m_area)
        m_area->setActiveSubWindow(window);
    view->setFocus();
}

Cfthview* TextWindows::FindTextDocument(const std::string& path) const {
    if (path.empty() || !m_area)
        return nullptr;
    const QString full = CFTDoc::FullPath(Q(path));
    for (QMdiSubWindow* window : m_area->subWindowList()) {
        auto* view = qobject_cast<Cfthview*>(window->widget());
        if (view && !view->closed() && view->doc()->path() == full)
            return view;
    }
    return nullptr;
}

Cfthview* TextWindows::ActiveTextWindow() const {
    QMdiSubWindow* window = m_area ? m_area->currentSubWindow() : nullptr;
    auto* view = window ? qobject_cast<Cfthview*>(window->widget()) : nullptr;
    return view && !view->closed() ? view : nullptr;
}

bool TextWindows::CloseAll() {
    std::vector<Cfthview*> views;
    for (QMdiSubWindow* window : m_area ? m_area->subWindowList() : QList<QMdiSubWindow*>()) {
        auto* view = qobject_cast<Cfthview*>(window->widget());
        if (view && !view->closed())
            views.push_back(view);
    }
    for (Cfthview* view : views) {
        if (!view->AskSaveChanges())
            return false;
    }
    for (Cfthview* view : views)
        view->CloseWithoutQuestion();
    return true;
}

void TextWindows::NewTextFile() {
    const std::string path = ui().AskSaveFileName("New File", kSourceFileFilter, "", "");
    if (path.empty())
        return;
    // The operator agreed to replace the file: a window that still shows it goes.
    if (Cfthview* open = FindTextDocument(path))
        open->CloseWithoutQuestion();
    CreateEmpty(path);
}

void TextWindows::OpenTextFileCommand() {
    const std::string path = ui().AskOpenFileName("Open", kSourceFileFilter, "", "");
    if (!path.empty())
        OpenOrActivateTextFile(path);
}

bool TextWindows::OpenOrActivateTextFile(const std::string& path) {
    if (path.empty())
        return false;
    if (Cfthview* open = FindTextDocument(path)) {
        Activate(open);
        return true;
    }
    createMissingFile = false;
    auto doc = std::make_unique<CFTDoc>();
    QString error;
    switch (doc->Read(Q(path), &error)) {
    case CFTDoc::ReadResult::Ok:
        if (!OpenWindow(std::move(doc)))
            return false;
        recentFiles().Add(path);
        return true;
    case CFTDoc::ReadResult::Missing:
        createMissingFile =
            ui().AskYesNo(path + " does not exist. Would you like to create it?") == Answer::Yes;
        break;
    case CFTDoc::ReadResult::Failed:
        ui().ShowMessage(path +
                         " could not be opened because of this error: " + error.left(255).toStdString());
        break;
    }
    return createMissingFile && CreateEmpty(path);
}

bool TextWindows::IsOpen(const std::string& path) const {
    return FindTextDocument(path) != nullptr;
}

bool TextWindows::IsModified(const std::string& path) const {
    const Cfthview* view = FindTextDocument(path);
    return view && view->doc()->IsModified();
}

bool TextWindows::SaveAs(const std::string& path, const std::string& newPath) {
    Cfthview* view = FindTextDocument(path);
    if (!view)
        return false;
    QString error;
    if (view->doc()->Write(Q(newPath), &error))
        return true;
    ui().ShowMessage(newPath + " could not be saved because of this error: " + error.left(255).toStdString());
    return false;
}

void TextWindows::Close(const std::string& path) {
    if (Cfthview* view = FindTextDocument(path))
        view->CloseWithoutQuestion();
}

bool TextWindows::OpenOrActivate(const std::string& path) {
    return OpenOrActivateTextFile(path);
}

bool TextWindows::CreateEmpty(const std::string& path) {
    QString error;
    if (!WriteEmptyFile(Q(path), &error)) {
        ui().ShowMessage(path +
                         " could not be created because of this error: " + error.left(255).toStdString());
        return false;
    }
    auto doc = std::make_unique<CFTDoc>();
    doc->SetPath(Q(path));
    return OpenWindow(std::move(doc)) != nullptr;
}

void TextWindows::ShowLine(const std::string& path, int line) {
    if (!OpenOrActivateTextFile(path))
        return;
    if (Cfthview* view = FindTextDocument(path))
        view->ShowLine(line);
}
