#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <string>

class QSocketNotifier;

// A small controller on the far end of a pseudo-terminal, inside the test process: it echoes what
// it receives and answers each line with the line's answer, "OK", CR LF and ">". It can fall silent,
// push bytes of its own, and drop the line as an unplugged adaptor would.
class PtyPeer : public QObject {
    Q_OBJECT
public:
    PtyPeer();
    ~PtyPeer() override;

    bool isOpen() const { return m_master >= 0; }
    // The device the program opens.
    QString path() const { return m_path; }

    // What a command line is answered with between the echo and "OK" (default: a single space).
    void SetAnswer(const std::string& command, const std::string& answer) { m_answers[command] = answer; }
    // A silent peer reads but answers nothing.
    void SetSilent(bool silent) { m_silent = silent; }
    // A peer that stops reading lets the line fill up, as a stalled controller would.
    void SetReading(bool reading);
    // Writes raw bytes to the program and returns once all of them are waiting at its end.
    bool Push(const QByteArray& bytes);
    // Closes the line: the program's next read fails as with an unplugged adaptor.
    void Drop();

    QByteArray received; // everything the program sent, in order

private:
    void OnReadable();
    void Answer(char c);
    void Send(const QByteArray& bytes);

    int m_master = -1;
    int m_slave = -1; // kept open so the line stays up between the program's openings
    QString m_path;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::map<std::string, std::string> m_answers;
    std::string m_line;
    bool m_silent = false;
};
