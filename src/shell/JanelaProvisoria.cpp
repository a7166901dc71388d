#include "shell/JanelaProvisoria.h"
#include "common/Formularios.h"
#include "platform/Tela.h"
#include "shell/Principal.h"

JanelaProvisoria::JanelaProvisoria(const QString& nome, const QString& legenda, bool efeito)
    : Form(nome, true), efeito_(efeito) {
    setCaption(legenda);
    setTamanhoCliente(9000, 5400);
}

void JanelaProvisoria::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    // The about box restores the pointer that its menu item set.
    Screen::MousePointer(0);
}

void JanelaProvisoria::Form_Unload(int& Cancel) {
    (void)Cancel;
    if (efeito_) Fecha_Efeito(this);
}

JanelaProvisoria* JanelaProvisoria::Instancia(const QString& nome, const QString& legenda, bool efeito) {
    if (auto* f = qobject_cast<JanelaProvisoria*>(Form::Procura(nome))) return f;
    return new JanelaProvisoria(nome, legenda, efeito);
}
