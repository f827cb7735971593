#pragma once

#include <QPointer>
#include <QSize>

#include <utility>
#include <vector>

class QPushButton;
class QVBoxLayout;
class QWidget;

// What the form windows (places, routes) share: sizes given in dialog units, the column of buttons at
// their right, and closing the frame they sit in.
namespace formbuttons {

// `width` x `height` dialog units in `widget`'s font: a quarter of the average character width across,
// an eighth of the line height down.
QSize DialogUnits(const QWidget* widget, int width, int height);

// A column of push buttons with the given texts, top to bottom, with room below the last one. The
// buttons never take Return for themselves: the form has no default button.
QVBoxLayout* ButtonColumn(QWidget* parent, const std::vector<std::pair<QPushButton**, const char*>>& buttons);

// Closes the child frame holding `view`, or the view itself when it has no frame.
void CloseForm(QWidget* view);

// Runs one of `form`'s commands. The command announces its changes while it runs, and `running` keeps
// the form from rebuilding its list for each of them; the list is rebuilt once, afterwards, with the
// line the command leaves selected (none below 0: the buttons are only refreshed). The form may be
// closed while the controller answers.
template <class Form, class Command> void RunCommandOnce(Form* form, bool& running, Command command) {
    QPointer<Form> alive(form);
    running = true;
    const int select = command();
    if (!alive)
        return;
    running = false;
    if (select >= 0)
        form->RebuildList(select);
    else
        form->UpdateControls();
}

} // namespace formbuttons
