#include "measure/delay.h"

#include <algorithm>

#include "app/Unit1.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/event_pump.h"

namespace {

// Between two passes the wait blocks on events for at most this long, so it
// costs almost no CPU while the countdown still moves with its last digit.
constexpr uint32_t kWaitSliceMs = 40;

const QString kChronoAtRest = QStringLiteral("00:00");

bool mustStop() { return Halt || Application->Terminated(); }

}  // namespace

QString chronoCaption(uint32_t msecs, uint32_t remaining) {
  const uint32_t Secondes = (remaining / 999) % 60;
  const uint32_t Dixiemes = (remaining / 99) % 10;
  const uint32_t Centiemes = (remaining / 9) % 10;
  return (msecs < 10000 ? QStringLiteral("0") : QString()) + QString::number(Secondes) + QLatin1Char(':') +
         QString::number(Dixiemes) + QString::number(Centiemes);
}

void Delay(uint32_t msecs, bool IsVisible) {
  if (!Form1 || !Application) return;
  Clock& clock = Form1->platform().clock;
  const uint32_t FirstTickCount = clock.GetTickCount();
  uint32_t Difference = 0;
  Form1->LabelChrono->setVisible(IsVisible);
  do {
    if (IsVisible) Form1->LabelChrono->setText(chronoCaption(msecs, msecs - Difference));
    Application->ProcessMessages();
    if (mustStop()) return;
    // Unsigned difference: a wrap of the tick count neither ends nor lengthens the wait.
    Difference = clock.GetTickCount() - FirstTickCount;
    if (Difference < msecs) {
      Application->pump().WaitForEvents(static_cast<int>(std::min(kWaitSliceMs, msecs - Difference)));
      if (mustStop()) return;
      Difference = clock.GetTickCount() - FirstTickCount;
    }
  } while (Difference < msecs);
  Form1->LabelChrono->setText(kChronoAtRest);
}
