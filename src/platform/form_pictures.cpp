#include "platform/form_pictures.h"

#include <QPixmap>

#include "platform/form.h"

namespace tallymoor {

bool saveFormPicture(Form& form, const QString& fileName) {
  form.ensurePolished();
  if (!form.isVisible()) {
    // A hidden form has never been laid out; render it at the size it would show with.
    form.setAttribute(Qt::WA_DontShowOnScreen, true);
    form.show();
    QPixmap picture = form.grab();
    form.hide();
    form.setAttribute(Qt::WA_DontShowOnScreen, false);
    return picture.save(fileName, "PNG");
  }
  return form.grab().save(fileName, "PNG");
}

}  // namespace tallymoor
