#pragma once
// The day's notices: the agenda items of the installation for today.
#include "platform/Controles.h"
#include "platform/Form.h"

class Avisos : public Form {
    Q_OBJECT
public:
    Avisos();
    Label* LblAvisos = nullptr;
    ListBox* LstAvisos = nullptr;

    void Form_Load() override;

private:
    void Carrega_Lancamentos();
};
