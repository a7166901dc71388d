#pragma once
// The appeal for voluntary donations towards the program's upkeep, with the
// QR code it points to.
#include "platform/Form.h"
#include "platform/Imagem.h"

class QPlainTextEdit;

class Donativo : public Form {
    Q_OBJECT
public:
    Donativo();
    QPlainTextEdit* TxtDoa = nullptr;
    Image* Image1 = nullptr;

    void Form_Load() override;

    // The appeal: one paragraph, no line breaks. Every name, account and
    // signature in it is invented.
    static QString Texto_Apelo();
};
