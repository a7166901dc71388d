#pragma once
// The month's cash book on its way to the central system: the rows of the
// working month, their totals, the check of every row for what the
// central system must not receive, and the send, allowed only after a
// check that found nothing blocking the very rows still stored.
#include "platform/Controles.h"
#include "platform/Form.h"
#include <QHash>
#include <QList>
#include <QVariantList>
#include <functional>

class ConexaoCentral;
class Progresso;

class ExpMirava : public Form {
    Q_OBJECT
public:
    ExpMirava();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    ListBox* LstLivroCx = nullptr;
    Label* LblRegs = nullptr;
    Label* LblEntradas = nullptr;
    Label* LblSaidas = nullptr;
    Label* LblSaldo = nullptr;
    TextBox* TxtEntradas = nullptr;
    TextBox* TxtSaidas = nullptr;
    TextBox* TxtSaldo = nullptr;
    CommandButton* CmdValida = nullptr;
    CommandButton* CmdExcel = nullptr;
    CommandButton* CmdCancela = nullptr;
    Label* LblIrregulares = nullptr;
    ListBox* LstIrregulares = nullptr;
    Label* LblMensagem = nullptr;
    Label* LblAndamento = nullptr;
    Label* LblAndam = nullptr;
    Label* LblProgresso = nullptr;
    Label* LblRegAnd = nullptr;
    Label* LblCaixa = nullptr;
    ComboBox* CboCaixa = nullptr;
    Label* LblKwe = nullptr;
    ::Timer* Timer = nullptr;

    // True only after a check that ran to its end with nothing blocking.
    bool Lancamentos_Validados = false;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CmdValida_Click();
    void CmdExcel_Click();
    void Timer_Timer();

    // The send of the checked month into the central table, all or
    // nothing in one central transaction; true only when the month was
    // committed there and recorded here.
    bool Envia_Dados_Mirava(const QString& tabela);

    // Tests: called after each row of the send, with its index; and the
    // server's id of the send's current connection (0 before one is open).
    std::function<void(int)> Linha_Enviada;
    qint64 Conexao_Envio() const { return conexaoEnvio_; }

private:
    void monta_Tela();
    void Carrega_Mes();
    void Calcula_Saldo();
    void Conta_Regs();
    void Valida_Lancamentos();
    void Mensag(const QString& sText);
    // Whether the list still holds the month as stored, for the month the
    // parameters name now. Errors are raised.
    bool Lista_Atual() const;

    QString Busca_Setor(qint64 codigo);
    QString Busca_Caixa_Interno(qint64 codigo);
    void Carrega_Caixas(qint64 codigo);
    // The reduced account of each account number, 4710 for one the central
    // chart lacks (or keeps without a reduced number).
    QHash<qint64, qint64> Busca_Conta_Reduzida(ConexaoCentral& conexao, const QList<qint64>& codseqs);
    QString Busca_Valor(const QString& sql, const QVariantList& valores, const QString& campo);
    QString Caixa_Fechado(int mes, const QString& ano, qint64 caixa);
    // One attempt at the rows: a new connection, one transaction, the
    // earlier send deleted first when asked. Errors are raised; false when
    // the server could not be reached or the user cancelled.
    bool Envia_Linhas(const QString& tabela, bool apagar, const QString& setor, qint64 congregacao, qint64 caixa,
                      Progresso& run, bool& cancelado);

    bool carregado_ = false;       // the last load completed
    QString codIg_, ano_, mes_;    // the month the list was loaded for
    bool emCurso_ = false;         // a check or a send runs
    bool fechar_ = false;          // the form was closed during a check or a send
    qint64 conexaoEnvio_ = 0;
};
