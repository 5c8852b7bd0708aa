#include "autofocus_fixture.h"

#include "app/Unit1.h"
#include "platform/number_format.h"

void prepareAutofocus(TForm1& form, const std::shared_ptr<RecordingFocuser>& driver) {
  numfmt::SetDecimalSeparator(QLatin1Char(','));
  form.Focuser = AutomationRef(driver);
  form.FocuserExists = true;
  driver->absolute = false;
  driver->link = true;
  form.CheckBox1->setChecked(true);
  form.xPasLent = 2;
  form.xPasRapide = 3;
  form.FocStep = 5;
  form.xTolerance = 0;
  form.xNbMesures = 1;
}
