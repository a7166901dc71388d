#pragma once
// A window of the menu whose own form has not been built yet: it keeps its
// name and caption, places itself as every child does and closes with the
// effect where its form has one.
#include "platform/Form.h"

class JanelaProvisoria : public Form {
    Q_OBJECT
public:
    JanelaProvisoria(const QString& nome, const QString& legenda, bool efeito);
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    // The single instance of the named window, created on first use.
    static JanelaProvisoria* Instancia(const QString& nome, const QString& legenda, bool efeito);

private:
    bool efeito_;
};
