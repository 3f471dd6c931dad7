#pragma once
#include "tools/ui/ZaehlerFormular.h"

namespace talu {

// The progress forms of the imports and fill tools, each on the shared counter
// form; their buttons start the commands of the same names on the command line.

class frmMosaicDatenImportieren : public ZaehlerFormular {
    Q_OBJECT
public:
    explicit frmMosaicDatenImportieren(QWidget* parent = nullptr);
};

class frmAurichImportieren : public ZaehlerFormular {
    Q_OBJECT
public:
    explicit frmAurichImportieren(QWidget* parent = nullptr);
};

class frmNiedersachsenImportieren : public ZaehlerFormular {
    Q_OBJECT
public:
    explicit frmNiedersachsenImportieren(QWidget* parent = nullptr);
    QPushButton* cmdLoeschen;
};

class frmZonenDatenImportieren : public ZaehlerFormular {
    Q_OBJECT
public:
    explicit frmZonenDatenImportieren(QWidget* parent = nullptr);
};

class frmGutachterAusfuellen : public ZaehlerFormular {
    Q_OBJECT
public:
    explicit frmGutachterAusfuellen(QWidget* parent = nullptr);
    QPushButton* cmdStart2;
    QPushButton* cmdStart3;
    QPushButton* cmdStart4;
    QPushButton* cmdGebaeude;
};

class frmAusfuellen : public ZaehlerFormular {
    Q_OBJECT
public:
    explicit frmAusfuellen(QWidget* parent = nullptr);
};

class frmGemeindeSchluesselAusfuellen : public ZaehlerFormular {
    Q_OBJECT
public:
    explicit frmGemeindeSchluesselAusfuellen(QWidget* parent = nullptr);
};

}  // namespace talu
