#pragma once
// The download of the support registers from the central system: the
// registers to refresh, the run of the eight steps in their order, the
// progress of the running step and its cancel.
//
// Each step reads its central rows on a connection of its own, walks them
// with the progress and the pauses (the window stays alive and the user may
// cancel), and only then writes what it collected in one local unit of
// work, during which no window event is delivered. A step is therefore
// whole: a cancel, a lost server or No to the retry leave its tables as
// they were, and Yes runs it again from its first central row.
#include "common/Recordset.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include <QVariantList>
#include <functional>
#include <memory>

class ConexaoCentral;
class Progresso;
class UnidadeTrabalho;

class Atualizacoes : public Form {
    Q_OBJECT
public:
    Atualizacoes();

    // Indices 1 to 8, one per step; 0 is not used.
    CheckBox* ChkAtualiza[9] = {};
    CommandButton* CmdAtualiza = nullptr;
    CommandButton* CmdCancela = nullptr;
    Label* LblRegAnd = nullptr;
    Label* LblAndam = nullptr;
    Label* LblProgresso = nullptr;
    Label* LblMarque = nullptr;
    Label* LblAndamento = nullptr;
    Label* LblObservacao = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void CmdAtualiza_Click();

    bool EmCurso() const { return emCurso_; }

    // Tests: called once a step has its central connection (before it
    // reads), and after each row a step has walked; the server's id of the
    // running step's connection (0 when it has none).
    std::function<void(int passo)> Passo_Conectado;
    std::function<void(int passo, qint64 linha)> Linha_Lida;
    qint64 Conexao_Passo() const { return conexaoPasso_; }

private:
    void monta_Tela();

    // The run's routines shared by the steps.
    void Atualiza_Dados();
    void Mostra_Percent(qint64 atual, qint64 total);
    void Limpa_Percent();
    void Refreshs();
    int Conta_Regs(const QString& tabela);
    bool Tem_Tabela();

    // The running step's own connection, or none when the server cannot be
    // reached (the user saw why, and the step ends quietly).
    std::unique_ptr<ConexaoCentral> Conecta();
    // Writes what the step collected, all of it or nothing.
    void Grava(const std::function<void(UnidadeTrabalho&)>& escrita);

    // The steps, AtualizacoesPassos.cpp.
    void Gera_Calculos();
    void Gera_Deptos();
    void Gera_Cargos();
    void Gera_Igrejas();
    void Gera_Ofertas();
    void Gera_Saidas();
    void Gera_Dizimistas();
    void Gera_Transmissao();

    int passo_ = 0;
    qint64 igreja_ = 0;  // Val(Param(1))
    Progresso* run_ = nullptr;
    bool emCurso_ = false;
    bool fechar_ = false;  // the window was closed during the run
    qint64 conexaoPasso_ = 0;
};
