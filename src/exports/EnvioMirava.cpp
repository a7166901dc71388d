// The send of the checked month into the central entries table.
//
// Everything central goes in one transaction on a connection of the send's
// own: the deletion of an earlier send and every row apply together or not
// at all, and a retry starts again from that deletion on a new connection.
// The local record changes only once the central commit has succeeded.
#include "common/Central.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/LancamentosMes.h"
#include "common/MarcasHistorico.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Transmissao.h"
#include "common/Usuario.h"
#include "exports/EnvioMirava.h"
#include "exports/ExpMirava.h"
#include "platform/App.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Progresso.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include <QHash>
#include <QSet>

namespace {
// Raised by a check that got no answer because the server could not be
// reached: the connection test has told the user already, so the send
// just ends. Not a std::exception, so the retry convention lets it pass.
struct Sem_Resposta {};

RecordsetPtr Consulta(const QString& sql, const QVariantList& valores) {
    RecordsetPtr rs = Abre_Recordset_Central(sql, valores);
    if (!rs) throw Sem_Resposta{};
    return rs;
}

// The boxes of the congregation's sector.
const QString Caixas_Setor = QStringLiteral(
    " From tblcaixas WHERE congregacao IN (SELECT codigo From tblcongregacoes"
    " WHERE setor = (SELECT setor FROM tblcongregacoes WHERE codigo = ?))");

constexpr ValoresCentral::Nulo Nulo;

QString Colunas(bool dizimo) {
    return QStringLiteral(
               " (mes,ano,valor,membro,funcionario,frequentador,data,hora,numero,"
               "chequebanco,chequenumero,chequeagencia,chequevalor,chequedata,nomeportador,setor,"
               "congregacao,mesreferencia,celula,caixa,contacredito,conta,caixacredito,tipo,"
               "fornecedor,departamento,formapagto,culto,tipoorigem,horario,protocolo,historico,") +
           (dizimo ? QStringLiteral("transacao,impcheck,datadevolucao,semana,grupoconta,outros,nomeoutro,codlote,centrocusto,")
                   : QStringLiteral("transacao,impcheck,datadevolucao,semana,grupoconta,outros,codlote,centrocusto,")) +
           QStringLiteral(
               "comprovante,tipoplanilha,vlr1,forma1,vlr2,forma2,vlr3,forma3,anexo,parcela,"
               "codparcela,competencia,datapgto,fiscalsn,ard,usuario)");
}
}  // namespace

namespace Envio_Mirava {

Mes::Mes(int mes_, int ano_, qint64 setor_, qint64 congregacao_, qint64 caixa_)
    : mes(mes_), ano(ano_), setor(setor_), congregacao(congregacao_), caixa(caixa_) {
    const QString mm = QStringLiteral("%1").arg(mes, 2, 10, QLatin1Char('0'));
    referencia = mm + QString::number(ano);
    prefixoData = QString::number(ano) + QLatin1Char('-') + mm + QLatin1Char('-');
}

QString Insert(const QString& tabela, bool dizimo, int linhas) {
    const QString marcas = QStringLiteral("(") + QStringLiteral("?,").repeated(dizimo ? 56 : 55) + QStringLiteral("?)");
    QStringList todas;
    for (int i = 0; i < linhas; ++i) todas << marcas;
    return QStringLiteral("Insert into ") + tabela + Colunas(dizimo) + QStringLiteral(" values ") +
           todas.join(QLatin1Char(','));
}

Membro Le_Membro(const QString& celula, const QString& historico) {
    Membro m;
    if (const auto ri = Marcas_Historico::Numero_RI(historico)) {
        bool ok = false;
        const qint64 numero = ri->toLongLong(&ok);
        if (ok && numero > 0) {
            m.membro = numero;
            return m;
        }
    }
    const qsizetype p = celula.indexOf(QStringLiteral("RI:"));
    if (p < 0) m.outro = celula.trimmed();
    else if (p > 3) m.outro = celula.mid(3, p - 3).trimmed();
    return m;
}

Instante Marca(const QDateTime& agora) {
    return {agora.time().toString(QStringLiteral("HH:mm:ss")), agora.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
}

void Valores(ValoresCentral& v, const Mes& mes, int i, const Lancamentos_Mes::Lancamento& l, qint64 conta,
             const Instante& agora) {
    const bool dizimo = l.tipo == QLatin1String("D");
    const bool saida = l.tipo == QLatin1String("S");
    // The history as the row shows it: a tithe's position first, 50 characters.
    const QString celula = Caracteres::Meio(l.linha, 5, 50);
    QString data = mes.prefixoData;
    data += QChar(u'0' + l.dia / 10 % 10);
    data += QChar(u'0' + l.dia % 10);
    const QString& referencia = mes.referencia;
    const Dinheiro valor = saida ? l.saida : l.entrada;
    const QString vazio = QStringLiteral("");
    Membro m = dizimo ? Le_Membro(celula, l.historico) : Membro{};
    // A null text would travel as NULL; the central system gets ''.
    if (m.outro.isNull()) m.outro = vazio;

    QString historico;
    if (dizimo) historico = QStringLiteral("DÍZIMO ") + celula.trimmed();
    else if (saida) historico = celula.left(48).trimmed();
    else historico = QStringLiteral("OFERTAS NORMAIS");

    v << mes.mes << mes.ano << valor.Texto().replace(QLatin1Char(','), QLatin1Char('.')) << m.membro << 0 << 0 << data
      << agora.hora;
    if (dizimo) v << QString::number(i + 1);
    else v << i + 1;
    for (int k = 0; k < 6; ++k) v << Nulo;
    v << mes.setor << mes.congregacao << referencia << 0 << mes.caixa << vazio;
    v << (dizimo ? qint64(3101) : saida ? conta : qint64(3102)) << 0 << (saida ? QStringLiteral("D") : QStringLiteral("C"));
    v << 0 << 0 << 1 << 0;
    v << (dizimo ? (m.outro.isEmpty() ? QStringLiteral("1") : QStringLiteral("3")) : vazio);
    v << agora.horario << QStringLiteral("TQR") << historico;
    if (saida) v << 1;
    else v << vazio;
    v << vazio << Nulo << 0 << 0 << (dizimo ? m.outro : vazio);
    if (dizimo) v << m.outro;
    v << 0 << 0 << vazio << vazio << 0 << 0 << 0 << 0 << 0 << 0 << vazio << vazio << 0 << referencia << data << Nulo
      << Nulo << 489;
}

}  // namespace Envio_Mirava

// ---------------------------------------------------------------------------
// The central checks

QString ExpMirava::Busca_Setor(qint64 codigo) {
    const RecordsetPtr rs = Consulta(QStringLiteral("Select Setor FROM tblcongregacoes WHERE codigo = ?"), {codigo});
    if (rs->Eof()) return QStringLiteral("0");
    // A congregation of no known sector cannot send: its rows would belong
    // to no sector.
    const QString setor = rs->Texto(QStringLiteral("Setor"));
    return setor.isEmpty() ? QStringLiteral("0") : setor;
}

QString ExpMirava::Busca_Caixa_Interno(qint64 codigo) {
    const RecordsetPtr rs =
        Consulta(QStringLiteral("SELECT Codigo") + Caixas_Setor + QStringLiteral(" AND descricao LIKE '%INT'"), {codigo});
    if (rs->Eof()) return QStringLiteral("0");
    return rs->Texto(QStringLiteral("Codigo"));
}

void ExpMirava::Carrega_Caixas(qint64 codigo) {
    RecordsetPtr rs = Consulta(QStringLiteral("SELECT Codigo, Descricao") + Caixas_Setor, {codigo});
    for (; !rs->Eof(); rs->MoveNext()) {
        CboCaixa->AddItem(rs->Texto(QStringLiteral("Descricao")));
        CboCaixa->setItemData_(CboCaixa->NewIndex(), rs->Fields(QStringLiteral("Codigo")).toLongLong());
    }
    if (CboCaixa->ListCount() > 0) {
        LblCaixa->setVisible(true);
        CboCaixa->setVisible(true);
        MsgBox(QStringLiteral("Pronto. Selecione o Caixa correto e repita a Operação"), vbOKOnly + vbInformation,
               Titulo_Atencao());
    } else {
        MsgBox(QStringLiteral("Infelizmente não foram encontrados dados suficientes."), vbOKOnly + vbInformation,
               Titulo_Atencao());
    }
}

QHash<qint64, qint64> ExpMirava::Busca_Conta_Reduzida(ConexaoCentral& conexao, const QList<qint64>& codseqs) {
    QHash<qint64, qint64> reduzidas;
    reduzidas.reserve(codseqs.size());
    for (const qint64 codseq : codseqs) reduzidas.insert(codseq, 4710);
    // Bounded lists, well within what one statement may carry.
    constexpr qsizetype Lote = 1000;
    for (qsizetype de = 0; de < codseqs.size(); de += Lote) {
        const QList<qint64> lote = codseqs.mid(de, Lote);
        QVariantList valores;
        for (const qint64 codseq : lote) valores << codseq;
        const RecordsetPtr rs = conexao.AbreSnapshot(
            QStringLiteral("Select codseq, reduzido FROM tblcontas WHERE codseq IN (") +
                QStringLiteral("?,").repeated(lote.size() - 1) + QStringLiteral("?)"),
            valores);
        for (; !rs->Eof(); rs->MoveNext()) {
            const QString reduzido = rs->Texto(QStringLiteral("reduzido"));
            if (!reduzido.isEmpty()) reduzidas.insert(rs->Fields(QStringLiteral("codseq")).toLongLong(), reduzido.toLongLong());
        }
    }
    return reduzidas;
}

QString ExpMirava::Busca_Valor(const QString& sql, const QVariantList& valores, const QString& campo) {
    const RecordsetPtr rs = Consulta(sql, valores);
    if (rs->Eof()) return QString();
    return rs->Texto(campo).toUpper();
}

QString ExpMirava::Caixa_Fechado(int mes, const QString& ano, qint64 caixa) {
    const RecordsetPtr rs = Consulta(
        QStringLiteral("SELECT fechado FROM tblresumomes Where mes = ? AND ano = ? AND codigocentral = ?"), {mes, ano, caixa});
    if (rs->Eof()) return QString();
    return rs->Texto(QStringLiteral("fechado"));
}

// ---------------------------------------------------------------------------
// The send

bool ExpMirava::Envia_Dados_Mirava(const QString& tabela) {
    Progresso run(LblRegAnd, LblAndam, LblProgresso, CmdExcel, CmdCancela);
    if (!run.Iniciado()) return false;
    const Screen::Ampulheta ampulheta;
    emCurso_ = true;
    const bool validar = CmdValida->isEnabled();
    CmdValida->setEnabled(false);
    // Nothing of an earlier run stays on screen to be read as this one's.
    run.Limpa();
    Mensag(QString());
    bool resultado = false;
    // A stop that explains itself in the status line; any other (an error
    // answered No, the server out of reach, a cancel) says the month was
    // not sent, instead of leaving a step's "Aguarde..." behind.
    bool explicado = false;
    auto para = [&](const QString& situacao) {
        Mensag(situacao);
        explicado = true;
        return false;
    };
    try {
        resultado = [&]() -> bool {
            bool online = false;
            if (!Tenta([&] { online = Testa_Conexao(Param[11], QStringLiteral("S")); }) || !online) return false;

            Mensag(QStringLiteral("Validando Sistema com Versão 1.0.") + QString::number(App::Revision) +
                   QStringLiteral(". Aguarde..."));
            QString versao;
            if (!Tenta([&] { versao = Versao_Servidor(); })) return false;
            if (versao != App::Versao())
                return para(QStringLiteral("Baixe a nova Versão ") + versao + QStringLiteral(" pela tela 'Sobre o Sistema'"));

            Mensag(QStringLiteral("Validando Igreja / Setor. Aguarde..."));
            const qint64 congregacao = Param[1].trimmed().toLongLong();
            QString setor;
            if (!Tenta([&] { setor = Busca_Setor(congregacao); })) return false;
            if (setor == QLatin1String("0")) return para(QStringLiteral("Setor Inválido. Verifique."));

            qint64 caixa = 0;
            if (CboCaixa->ListIndex() != -1) {
                caixa = CboCaixa->ItemData(CboCaixa->ListIndex());
                LblCaixa->setVisible(false);
                CboCaixa->setVisible(false);
            } else {
                Mensag(QStringLiteral("Validando Caixa. Aguarde..."));
                QString interno;
                if (!Tenta([&] { interno = Busca_Caixa_Interno(congregacao); })) return false;
                if (interno == QLatin1String("0")) {
                    if (MsgBox(QStringLiteral("Seu caixa interno não foi encontrado no sistema.\r"
                                              "Deseja selecionar o caixa manualmente?"),
                               vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) == vbYes) {
                        Mensag(QStringLiteral("Carregando possiveis Caixas. Aguarde..."));
                        Tenta([&] { Carrega_Caixas(congregacao); });
                    } else {
                        return para(QStringLiteral("Infelizmente seus dados não foram enviados ao Mirava."));
                    }
                    return false;
                }
                caixa = interno.toLongLong();
            }

            Mensag(QStringLiteral("Verificando se o caixa está aberto. Aguarde..."));
            QString fechado;
            if (!Tenta([&] { fechado = Caixa_Fechado(Param[9].toInt(), Param[10], caixa); })) return false;
            if (fechado == QLatin1String("1")) {
                MsgBox(QStringLiteral("O seu caixa de Nº ") + QString::number(caixa) +
                           QStringLiteral(" está fechado.\rNão é possível transmitir o fechamento.\r"
                                          "Fale com o pessoal da Controladoria."),
                       vbOKOnly + vbInformation, Titulo_Atencao());
                return false;
            }

            Mensag(QStringLiteral("Verificando dados lançados para a congregação. Aguarde..."));
            QString anterior;
            if (!Tenta([&] {
                    anterior = Busca_Valor(QStringLiteral("Select congregacao From ") + tabela +
                                               QStringLiteral(" Where congregacao = ? And mes = ? And ano = ? And protocolo = 'TQR'"),
                                           {congregacao, Param[9].toInt(), Param[10].toInt()}, QStringLiteral("congregacao"));
                }))
                return false;
            bool apagar = false;
            if (!anterior.isEmpty()) {
                if (MsgBox(QStringLiteral("Existem Dados Anteriores da Congregação. Deseja sobrepor?"),
                           vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) != vbYes)
                    return para(QString());
                apagar = true;
            }

            // A retry runs the whole attempt again: a new connection, a new
            // transaction, the deletion first; the answers above stand.
            bool enviado = false, cancelado = false;
            if (!Tenta([&] { enviado = Envia_Linhas(tabela, apagar, setor, congregacao, caixa, run, cancelado); }) ||
                !enviado) {
                if (cancelado && !fechar_)
                    MsgBox(QStringLiteral("Operação Cancelada pelo Usuário"), vbOKOnly + vbInformation, Titulo_Atencao());
                return false;
            }

            Mensag(QStringLiteral("Eliminando Dados de Transmissão. Aguarde..."));
            if (!Tenta_Unidade([](UnidadeTrabalho& u) {
                    Elimina_Transmissao(u);
                    Registra_Transmissao(u);
                }))
                return para(QStringLiteral("Os dados chegaram ao Mirava, mas a transmissão não foi registrada. Envie novamente."));
            Sleep(50);
            run.Conclui();
            Mensag(QStringLiteral("Dados Enviados ao Mirava com Sucesso."));
            return true;
        }();
    } catch (const Sem_Resposta&) {
        resultado = false;
    }
    if (!resultado && !explicado) Mensag(QStringLiteral("Operação ainda Não Concluida"));
    conexaoEnvio_ = 0;
    CmdValida->setEnabled(validar);
    emCurso_ = false;
    return resultado;
}

bool ExpMirava::Envia_Linhas(const QString& tabela, bool apagar, const QString& setor, qint64 congregacao, qint64 caixa,
                             Progresso& run, bool& cancelado) {
    cancelado = false;
    Mensag(QStringLiteral("Abrindo Base de Dados Mirava. Aguarde..."));
    const std::unique_ptr<ConexaoCentral> conexao = Abre_Conexao_Central(false);
    if (!conexao) return false;
    conexaoEnvio_ = conexao->AbreSnapshot(QStringLiteral("SELECT CONNECTION_ID() AS id"))->Fields(0).toLongLong();
    conexao->Begin();
    Sleep(50);

    const Envio_Mirava::Mes mes{Param[9].toInt(), Param[10].toInt(), setor.toLongLong(), congregacao, caixa};
    if (apagar) {
        Mensag(QStringLiteral("Deletando Dados Anteriores. Aguarde..."));
        conexao->Executa(QStringLiteral("Delete From ") + tabela +
                             QStringLiteral(" Where congregacao = ? And mes = ? And ano = ? And protocolo = 'TQR'"),
                         {congregacao, mes.mes, mes.ano});
    }

    // Rows travel in groups of one kind, in list order: one round trip to
    // the server per group instead of per row. Inside the one transaction
    // this changes nothing of what the server ends up holding.
    struct Grupo {
        bool dizimo = false;
        int linhas = 0;
        ValoresCentral valores;
    } grupo;
    std::unique_ptr<ComandoCentral> cheios[2];
    auto descarrega = [&] {
        if (grupo.linhas == 0) return;
        std::unique_ptr<ComandoCentral>& cheio = cheios[grupo.dizimo ? 1 : 0];
        if (grupo.linhas == Envio_Mirava::Grupo) {
            if (!cheio)
                cheio = std::make_unique<ComandoCentral>(*conexao, Envio_Mirava::Insert(tabela, grupo.dizimo, grupo.linhas));
            cheio->Executa(grupo.valores);
        } else {
            ComandoCentral(*conexao, Envio_Mirava::Insert(tabela, grupo.dizimo, grupo.linhas)).Executa(grupo.valores);
        }
        grupo.linhas = 0;
        grupo.valores.Limpa();
    };
    // A row's values go straight into its group.
    auto envia = [&](bool dizimo, const auto& valores) {
        if (grupo.linhas > 0 && grupo.dizimo != dizimo) descarrega();
        grupo.dizimo = dizimo;
        valores(grupo.valores);
        if (++grupo.linhas == Envio_Mirava::Grupo) descarrega();
    };
    // Every row takes the moment it is sent at, to the second.
    QDateTime visto;
    Envio_Mirava::Instante instante;
    auto agora = [&]() -> const Envio_Mirava::Instante& {
        const QDateTime a = Relogio::Agora_Segundo();
        if (!visto.isValid() || a.date() != visto.date() ||
            a.time().msecsSinceStartOfDay() / 1000 != visto.time().msecsSinceStartOfDay() / 1000)
            instante = Envio_Mirava::Marca(a);
        visto = a;
        return instante;
    };
    // The list's rows as the check saw them: nothing changes them while the
    // send runs (the check is refused and the list is read-only).
    const std::vector<Lancamentos_Mes::Lancamento> linhas = Linha_Lista::Da_Lista(LstLivroCx);
    const int n = int(linhas.size());
    // The reduced account of every outflow account the month names, in one
    // query before the first row: the loop talks to the server only to
    // insert.
    QList<qint64> codseqs;
    {
        QSet<qint64> vistos;
        for (const Lancamentos_Mes::Lancamento& l : linhas) {
            if (l.tipo != QLatin1String("S") || !Marcas_Historico::Tem_Conta(l.historico)) continue;
            const qint64 codseq = Marcas_Historico::Numero_Conta(l.historico).value_or(0);
            if (!vistos.contains(codseq)) {
                vistos.insert(codseq);
                codseqs << codseq;
            }
        }
    }
    const QHash<qint64, qint64> contas = Busca_Conta_Reduzida(*conexao, codseqs);
    QString status;
    auto situacao = [&](const QString& texto) {
        // Only a change is shown: painting stays out of the per-row cost.
        if (texto != status) LblMensagem->setCaption(status = texto);
    };
    // The row being sent is selected at most once a frame (and at the last
    // row): a selection scrolls and repaints the list, which costs more than
    // the row's own insert.
    Por_Quadro quadro;
    auto seleciona = [&](int i) {
        if (quadro.Agora() || i == n - 1) LstLivroCx->setListIndex(i);
    };
    for (int i = 0; i < n; ++i) {
        seleciona(i);
        const Lancamentos_Mes::Lancamento& l = linhas[size_t(i)];
        const QString& tipo = l.tipo;
        qint64 conta = 4710;
        auto valores = [&](ValoresCentral& v) { Envio_Mirava::Valores(v, mes, i, l, conta, agora()); };
        if (tipo == QLatin1String("S")) {
            situacao(QStringLiteral("Enviando Saídas para o Mirava. Aguarde..."));
            if (Marcas_Historico::Tem_Conta(l.historico))
                conta = contas.value(Marcas_Historico::Numero_Conta(l.historico).value_or(0), 4710);
            envia(false, valores);
        } else if (tipo == QLatin1String("O")) {
            situacao(QStringLiteral("Enviando Ofertas para o Mirava. Aguarde..."));
            envia(false, valores);
        } else if (tipo == QLatin1String("D")) {
            situacao(QStringLiteral("Enviando Dízimos para o Mirava. Aguarde..."));
            envia(true, valores);
        }
        run.Linha(i, n);
        if (Linha_Enviada) Linha_Enviada(i);
        run.Eventos();
        if (run.Cancelado() || fechar_) {
            LstLivroCx->setListIndex(i);
            cancelado = true;
            return false;  // the connection rolls back as it closes
        }
    }
    descarrega();
    conexao->Commit();
    return true;
}
