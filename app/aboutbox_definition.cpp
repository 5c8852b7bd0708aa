#include "app/aboutbox_definition.h"

#include <QPushButton>

#include "app/Unit2.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/panel.h"

void defineAboutBox(TAboutBox& box) {
  box.setWindowTitle(QStringLiteral("A propos"));
  box.setFont(pixelFont(kSansFamily, 11));
  QPalette face = box.palette();
  face.setColor(QPalette::Window, toQColor(clBtnFace));
  box.setPalette(face);
  box.setFixedSize(298, 200);

  box.Panel1 = new TPanel(&box);
  box.Panel1->setGeometry(8, 8, 281, 143);
  box.Panel1->BevelInner = TBevelCut::bvRaised;
  box.Panel1->BevelOuter = TBevelCut::bvLowered;

  box.ProgramIcon = new TImage(box.Panel1);
  box.ProgramIcon->setGeometry(8, 8, 65, 57);
  box.ProgramIcon->Stretch = true;

  box.ProductName = new TLabel(QStringLiteral("Trevast"), box.Panel1);
  box.ProductName->setGeometry(78, 16, 193, 20);
  box.ProductName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  box.ProductName->setFont(pixelFont(kSansFamily, 16, true));
  QPalette green = box.ProductName->palette();
  green.setColor(QPalette::Window, toQColor(clMoneyGreen));
  box.ProductName->setPalette(green);
  box.ProductName->setAutoFillBackground(true);

  box.Version = new TLabel(QStringLiteral("Version"), box.Panel1);
  box.Version->move(82, 40);
  box.Version->adjustSize();

  box.OKButton = new QPushButton(QStringLiteral("OK"), &box);
  box.OKButton->setGeometry(111, 168, 75, 25);
  box.OKButton->setDefault(true);
}
