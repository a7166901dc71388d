// The statement itself: the costs asked, the installation's own month
// posted as a congregation of its sector, and the workbook's cells filled
// and saved in one step.
#include "exports/ExpTermo.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/LancamentosMes.h"
#include "common/LinhaLista.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Planilha.h"
#include "platform/Relogio.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include <QFileInfo>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <array>
#include <cmath>
#include <map>

namespace {
const QString FolhaFechamento = QStringLiteral("FECHAMENTO");
const QString FolhaTC = QStringLiteral("TC");
const QString FolhaDados = QStringLiteral("DADOS");
// The statement sheet's block of remittances: four slots, date in D and
// value in I.
const int LinhasRemessas[] = {45, 47, 49, 51};
// A line of the month sheet: its congregation's figures, column by field,
// and the two columns it clears.
const std::pair<const char*, const char*> Figuras[] = {{"E", "Entradas"}, {"F", "Luz"}, {"G", "Aluguel"},
                                                       {"H", "Agua"},     {"I", "Prebenda"}, {"M", "Saidas"}};
const char* const Limpas[] = {"T", "U"};

QString Celula(const char* coluna, int linha) { return QLatin1String(coluna) + QString::number(linha); }

// The congregation a month sheet's line names in column A: a number above
// zero, or a text that reads whole as one. Zero, a negative number, another
// text or a truth value name none. A formula's result carries the noise of
// its arithmetic (12.000000000000002): a number that close to a whole one
// is that whole number.
std::optional<double> Codigo_Da_Linha(const QVariant& a) {
    double codigo = 0;
    if (E_Tipo_Numerico(a)) {
        codigo = a.toDouble();
    } else if (a.typeId() == QMetaType::QString) {
        const QString texto = a.toString().trimmed();
        if (Val(texto) <= 0 || !E_Numerico(texto)) return std::nullopt;
        codigo = Para_Numero(texto);
    } else {
        return std::nullopt;
    }
    if (const double inteiro = std::round(codigo); std::fabs(codigo - inteiro) <= 1e-9) codigo = inteiro;
    if (!(codigo > 0)) return std::nullopt;
    return codigo;
}

// An answer of the costs' input boxes: an amount the Brazilian way.
Dinheiro Custo(const QString& resposta) {
    const auto valor = Dinheiro::Le(resposta.trimmed());
    if (!valor) Levanta_Erro(13);
    return *valor;
}
}  // namespace

void ExpTermo::Transp_Excel() {
    const QScopedValueRollback<bool> emCurso(emCurso_, true);
    Cmd_Transp->setEnabled(false);
    const auto reabilita = qScopeGuard([this] { Cmd_Transp->setEnabled(true); });
    const Screen::Ampulheta ampulheta;

    const QString arquivo = TxtArq->Text();
    if (arquivo.isEmpty() || !QFileInfo(arquivo).isFile()) {
        MsgBox(QStringLiteral("Arquivo não encontrado."), vbOKOnly + vbInformation, Titulo_Atencao());
        return;
    }
    if (Planilha::Formato_Antigo(arquivo)) {
        MsgBox(QStringLiteral("Esta planilha está no formato antigo (.xls). Abra-a na sua planilha eletrônica, "
                              "salve-a como .xlsx e escolha o arquivo .xlsx."),
               vbOKOnly + vbInformation, Titulo_Atencao());
        return;
    }
    std::optional<Dinheiro> jornal;
    Dinheiro sistema;
    if (!Pede_Custos(jornal, sistema)) return;
    Figuras_Termo figuras;
    bool alterado = false;
    if (!Lanca_Valores_Regional(figuras, alterado)) {
        if (alterado) Recarrega_Alterado();
        return;
    }

    // The workbook is opened, filled and saved as one step: a retry starts
    // from the file again (the user may have closed it elsewhere or made it
    // writable meanwhile), and giving up leaves it as it was.
    if (!Tenta([&] {
            Planilha planilha(arquivo);
            Preenche_Termo(planilha, figuras, jornal, sistema);
        }))
        return;
    const bool aberta = Shell::Abre(arquivo);
    if (figuras.remessas.size() > std::size(LinhasRemessas))
        MsgBox(QStringLiteral("O mês tem mais de 4 remessas: só as 4 primeiras cabem no Termo. Lance as demais na planilha."),
               vbOKOnly + vbExclamation, Titulo_Atencao());
    // Where nothing can show the workbook (no program to open it, a session
    // without a desktop), the user is told where it was saved.
    QString texto = QStringLiteral("Rotina concluida com sucesso");
    if (!aberta)
        texto += QChar(13) + QStringLiteral("Planilha gravada em ") + arquivo + QChar(13) +
                 QStringLiteral("Não foi possível abri-la neste computador: abra-a em sua planilha eletrônica.");
    MsgBox(texto, vbOKOnly + (aberta ? vbInformation : vbExclamation), QStringLiteral("Atenção"));
}

bool ExpTermo::Pede_Custos(std::optional<Dinheiro>& jornal, Dinheiro& sistema) {
    // Yes to the error asks the same question again.
    const bool ok = Tenta([&] {
        const QString resposta = InputBox(QStringLiteral("Informe o Valor Pago do Jornal Tessarim R$"),
                                          QStringLiteral("Custo do Jornal Tessarim"), QStringLiteral("0,00"));
        // Left empty (or cancelled), the cell stays empty.
        jornal = resposta.trimmed().isEmpty() ? std::nullopt : std::optional<Dinheiro>(Custo(resposta));
    });
    return ok && Tenta([&] {
               sistema = Custo(InputBox(QStringLiteral("Informe o Valor Pago do Sistema Vendral R$"),
                                        QStringLiteral("Custo do Sistema Mirava"), QStringLiteral("0,00")));
           });
}

bool ExpTermo::Lanca_Valores_Regional(Figuras_Termo& figuras, bool& alterado) {
    // The installation's own rows only: the congregations' rows are theirs.
    Dinheiro entradas, saidas;
    for (const Linha_Lista::Linha& l : Linha_Lista::Da_Lista(LstLivroCx)) {
        if (l.tipo == QLatin1String("O") || l.tipo == QLatin1String("D")) entradas += l.entrada;
        else if (l.tipo == QLatin1String("S")) saidas += l.saida;
    }
    const QString& codIg = Param[1];
    return Tenta_Unidade([&](UnidadeTrabalho& u) {
        // What is posted and written is what the treasurer has on screen,
        // checked under the same write lock as the posting.
        alterado = !Dados_Atuais(u);
        if (alterado) return;
        if (u.AbreQuery(QStringLiteral("ProcPesqIgreja2"), {codIg, codIg})->Eof())
            u.ExecutaQuery(QStringLiteral("ProcInsIgreja"), {codIg, codIg, Param[4], QStringLiteral("3")});
        const RecordsetPtr postado = u.AbreQuery(QStringLiteral("ProcPesqFechaTotIgrejas"), {codIg, codIg, Param[10], Param[9]});
        if (postado->Eof()) {
            const qint64 codigo = Le_Proximo_Codigo(u, TxtCodigo, QStringLiteral("ProcProximoTotIgreja"));
            u.ExecutaQuery(QStringLiteral("ProcInsTotIgreja"),
                           {QString::number(codigo), codIg, codIg, Param[10], Param[9], entradas.Texto(), saidas.Texto(),
                            QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")});
        } else {
            // A month posted already as it stands is not written again.
            bool igual = true;
            for (; !postado->Eof(); postado->MoveNext())
                igual = igual && Dinheiro::DeCampo(postado->Fields(QStringLiteral("Entradas"))) == entradas &&
                        Dinheiro::DeCampo(postado->Fields(QStringLiteral("Saidas"))) == saidas;
            if (!igual)
                u.ExecutaQuery(QStringLiteral("ProcUpdTotIgreja"),
                               {codIg, codIg, Param[10], Param[9], entradas.Texto(), saidas.Texto()});
        }
        // Read where the posting was made, so that the statement holds it
        // and nothing else written meanwhile.
        figuras = {};
        for (const RecordsetPtr rs = u.AbreQuery(QStringLiteral("ProcFechaTotIgrejasMes"), {codIg, Param[10], Param[9]});
             !rs->Eof(); rs->MoveNext()) {
            auto& linha = figuras.igrejas[rs->Fields(QStringLiteral("CodCongrega")).toLongLong()];
            for (size_t k = 0; k < std::size(Figuras); ++k)
                linha[k] = Dinheiro::DeCampo(rs->Fields(QLatin1String(Figuras[k].second)));
        }
        // The check above found the remittances as loaded still stored.
        figuras.remessas = remessas_;
    }) && !alterado;
}

void ExpTermo::Preenche_Termo(Planilha& planilha, const Figuras_Termo& figuras, const std::optional<Dinheiro>& jornal,
                              Dinheiro sistema) {
    const int mes = Param[9].toInt();
    const int ano = Param[10].toInt();
    const QString nomeMes = Nome_Mes(mes);
    const QString folhaMes = QString::number(mes).rightJustified(2, QLatin1Char('0'));

    planilha.Texto(FolhaFechamento, QStringLiteral("B11"), nomeMes);

    // Every line from row 4 down to the first empty cell of column A.
    QVariant a;
    for (int r = 4; !planilha.Vazia(folhaMes, Celula("A", r), &a); ++r) {
        const std::optional<double> codigo = Codigo_Da_Linha(a);
        if (!codigo) continue;
        // A code with decimals names no congregation: its line is emptied
        // like that of a congregation without figures.
        const bool inteiro = *codigo == std::floor(*codigo) && *codigo < 1e15;
        const auto achada = inteiro ? figuras.igrejas.find(qint64(*codigo)) : figuras.igrejas.end();
        for (size_t k = 0; k < std::size(Figuras); ++k) {
            const QString celula = Celula(Figuras[k].first, r);
            if (achada == figuras.igrejas.end()) planilha.Esvazia(folhaMes, celula);
            else planilha.Numero(folhaMes, celula, achada->second[k].Numero());
        }
        for (const char* coluna : Limpas) planilha.Esvazia(folhaMes, Celula(coluna, r));
    }

    planilha.Texto(FolhaTC, QStringLiteral("E6"), nomeMes);
    for (const int r : LinhasRemessas) {
        planilha.Esvazia(FolhaTC, Celula("D", r));
        planilha.Esvazia(FolhaTC, Celula("I", r));
    }
    for (size_t k = 0; k < figuras.remessas.size() && k < std::size(LinhasRemessas); ++k) {
        const int r = LinhasRemessas[k];
        const QDate dia(ano, mes, figuras.remessas[k].dia);
        if (!dia.isValid()) Levanta_Erro(13);
        planilha.Data(FolhaTC, Celula("D", r), dia);
        planilha.Numero(FolhaTC, Celula("I", r), figuras.remessas[k].valor.Numero());
    }

    const int linhaDados = mes + 14;
    planilha.Data(FolhaDados, Celula("C", linhaDados), Relogio::Hoje());
    if (jornal) planilha.Numero(FolhaDados, Celula("E", linhaDados), jornal->Numero());
    else planilha.Esvazia(FolhaDados, Celula("E", linhaDados));
    planilha.Numero(FolhaDados, Celula("F", linhaDados), sistema.Numero());

    planilha.Texto(FolhaTC, QStringLiteral("F73"), QStringLiteral("Caso tenha dúvidas sobre a utilização do Quorvane acesse:"));
    planilha.Texto(FolhaTC, QStringLiteral("F74"), QStringLiteral(TESOURARIA_PAGINA_AUTOR));
    planilha.Seleciona(FolhaTC, QStringLiteral("F75"));
    planilha.Salva();
}
