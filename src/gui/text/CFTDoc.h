#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTextDocument;

// The text of one source file as an editor window holds it. The file is read and written as raw
// bytes: each byte is one character (bytes above 127 included), and every line keeps the line end it
// had in the file (LF, CR LF or CR). Lines added while editing end like the file's first line, or in
// LF when the file had none. A character typed beyond the byte range is saved in UTF-8.
class CFTDoc : public QObject {
    Q_OBJECT
public:
    enum class ReadResult { Ok, Missing, Failed };

    explicit CFTDoc(QObject* parent = nullptr);

    QTextDocument* document() const { return m_text; }

    // The full path of the file ("" for none) and its name without the folder.
    const QString& path() const { return m_path; }
    QString title() const;
    void SetPath(const QString& path);

    // Reads the file into the document; on failure the document is unchanged and `error` says why.
    ReadResult Read(const QString& path, QString* error = nullptr);
    // Writes the document atomically to `path` (the file is replaced only when the whole text is
    // written); on success the document is unmodified and takes that path.
    bool Write(const QString& path, QString* error = nullptr);

    // The bytes the document would be saved as, and the reverse.
    QByteArray Bytes() const;
    void SetBytes(const QByteArray& bytes);

    bool IsModified() const;
    void SetModified(bool modified);

    // The form paths are compared in: absolute, as given otherwise (case kept).
    static QString FullPath(const QString& path);

signals:
    void pathChanged();

private:
    QTextDocument* m_text;
    QString m_path;
    int m_defaultEnd; // line end of lines added while editing
};
