#pragma once
// Applies the current language to every form and refreshes what all forms share: the
// administration directory, the number format and the help block.

#include <QList>
#include <QString>

class QObject;

namespace tallymoor {

class Form;

// Sets the text of a control of any kind that shows one (button, label, check box, menu,
// action, group box); false when the control shows no text.
bool setCaption(QObject* control, const QString& text);

// The caption routine: start screen title and menu label, the current language name, the
// directories, the record store's number format, the help block, then for every form its
// window title, the captions of the caption table and the form's own language texts.
// Running it twice gives the same result.
void runCaptionRoutine(const QList<Form*>& forms);

// The web page of the help viewer for a language.
QString webPageForLanguage(const QString& language);

}  // namespace tallymoor
