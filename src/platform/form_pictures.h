#pragma once
// Pictures of forms, so that a person can look at every form at once.

#include <QString>

namespace tallymoor {

class Form;

// Lays the form out at its own size, renders it off screen and writes a PNG; false when
// the file could not be written.
bool saveFormPicture(Form& form, const QString& fileName);

}  // namespace tallymoor
