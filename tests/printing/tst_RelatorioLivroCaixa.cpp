// The cash-book closing report, printed into PDF files and read back with
// poppler's own tools: where each item lands in millimetres, how the body
// breaks into pages and carries its totals, the closing block, and what a
// failed print leaves behind.
#include "common/Formularios.h"
#include "common/LancamentosMes.h"
#include "common/LinhaIgrejaSetor.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "platform/Printer.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "printing/MolduraA4.h"
#include "printing/RelatorioLivroCaixa.h"
#include "support/Ambiente.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QDir>
#include <QtTest>

namespace {

Dinheiro R(qint64 centavos) { return Dinheiro::DeCentavos(centavos); }

// A cash-book row of the closing list, with its values.
Linha_Lista::Linha Lancamento(const QString& tipo, int dia, const QString& historico, qint64 centavos) {
    return Lancamentos_Mes::De_Registro(0, tipo, dia, historico, R(centavos));
}

Linha_Lista::Linha Oferta(int dia, const QString& historico, qint64 centavos) {
    return Lancamento("O", dia, historico, centavos);
}

// A sector congregation's row by its calculation type.
Linha_Lista::Linha Igreja(const QString& nome, int codigo, int calculo, qint64 entradas, qint64 saidas,
                          qint64 aluguel = 0) {
    return Linha_Igreja_Setor::De_Igreja({nome, codigo, calculo, R(entradas), R(saidas), R(aluguel), {}, {}, {}});
}

// A report of the frame alone whose body may fail once, on its second page.
class Relatorio_Falho final : public MolduraA4 {
public:
    Relatorio_Falho(int linhas, bool falha, Rodape rodape = Rodape::LivroCaixa)
        : MolduraA4("Teste", "0", "0", rodape), linhas_(linhas), falha_(falha) {}
    int tentativas = 0;

private:
    void Imprime_Cabec(qint16 Pag) override { Imprime_Texto(180, 32, QString::number(Pag), 12); }
    void Imprime_Corpo() override {
        ++tentativas;
        for (int i = 0; i < linhas_; ++i) {
            if (falha_ && tentativas == 1 && Pagina == 2) Levanta_Erro(484, "papel");
            Imprime_Valor(144, Lin, R(100));
            Tot_Entradas += R(100);
            if (i % 3 == 0) Tot_Saidas += R(50);
            Incrementa_Lin("S");
        }
    }
    int linhas_;
    bool falha_;
};

}  // namespace

// An offset box's text and the millimetres it moves the page by.
using Deslocamento = QPair<QString, double>;
struct CasoPaginas { int ofertas, igrejas, paginas, paginaFechamento; };
// The picture's file (null: the good picture, empty: none) and the error.
struct CasoFalha { QByteArray figura; long erro; };

class tst_RelatorioLivroCaixa : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;
    QString pdfs_;

    static Documento imprime(const Fechamento_Mensal& dados) {
        const qsizetype antes = Printer::ArquivosPdf().size();
        return Imprime_Mov_Mensal(dados) ? Novo_Pdf(antes) : Documento{};
    }
    QStringList arquivosNaPasta() const { return QDir(pdfs_).entryList({"*.pdf"}, QDir::Files); }

private slots:
    void init() {
        amb_ = std::make_unique<Ambiente>(false);
        pdfs_ = amb_->Pasta() + "/pdf";
        Printer::DefinePastaPdf(pdfs_);
        QVERIFY(Grava_Impresso(amb_->Pasta()));
        Relogio::Define(QDateTime(QDate(2026, 3, 5), QTime(10, 0)));
        Param[1] = "0012";
        Param[3] = "SETOR NORTE";
        Param[4] = "VILA NOVA";
        Param[9] = "8";
        Param[10] = "2021";
    }
    void cleanup() {
        QVERIFY(!Impressora().Imprimindo());
        QVERIFY(!Roteiro::HouveInesperada());
        Printer::DefinePastaPdf({});
        amb_.reset();
    }

    // One page holding a section of each kind: where every item lands.
    void pagina_completa() {
        Fechamento_Mensal f;
        f.linhas = {Oferta(3, "CULTO DE DOMINGO", 123450),
                    Oferta(10, "ESCOLA DOMINICAL", 5000),
                    Lancamento("D", 5, "ANA LIMA RI:00000042 MB", 30000),
                    Lancamento("S", 20, "CONTA DE LUZ CT:123", 8010),
                    Igreja("VILA NOVA", 12, 3, 100000, 20000, 30000),
                    Igreja("MONTE SIÃO", 7, 1, 55056, 0)};
        f.saldoAnterior = R(100000);
        f.remessas = R(35000);
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 1);

        QCOMPARE(d.Linhas(1, {14, 25, 32}), (QStringList{"001208202101", "SETOR NORTE 0012-VILA NOVA", "AGOSTO 2021 01"}));
        // Banner, rows and total of each section on consecutive lines.
        const QStringList corpo = {
            "~~~~~~~~~~~~~~~~~~~~~ O F E R T A S ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~",
            "03 CULTO DE DOMINGO 1.234,50 ----",
            "10 ESCOLA DOMINICAL 50,00 ----",
            ">> TOTAL DE OFERTAS R$ 1.284,50",
            "~~~~~~~~~~~~~~~~~~~~~ D Í Z I M O S ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~",
            "05 MB ANA LIMA RI:00000042 300,00 ----",
            ">> TOTAL DE DÍZIMOS R$ 300,00",
            "~~~~~~~~~~~~~~~~~~~~ D E S P E S A S ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~",
            "20 CONTA DE LUZ CT:123 ---- 80,10",
            ">> TOTAL DE DESPESAS R$ 80,10",
            "~~~~~~~~~~~~~~ I G R E J A S D O S E T O R ~~~~~~~~~~~~~~~~~~~~~~~~~~~~",
            "01 VILA NOVA(0012~3) 700,00 1.000,00 200,00",
            "01 MONTE SIÃO(0007~1) 550,56 550,56 0,00",
            // The installation's own offerings and tithes and the
            // congregations' amounts by type.
            ">> BASE DE REMESSA R$ 2.835,06",
        };
        for (int i = 0; i <= corpo.size(); ++i) QCOMPARE(d.Linha(1, Y(i)), corpo.value(i));
        // Footer: entries 1.284,50 + 300,00 + 1.550,56; outflows 80,10 + 200,00; the date. Closing
        // block: 0.6 of the base (1.701,04), the remittances, the previous balance and
        // 1.000,00 + 350,00 + 3.135,06 - 280,10 - 1.701,04.
        QCOMPARE(d.Linhas(1, {220, 226, 264, 232, 238, 244, 250}),
                 (QStringList{"3.135,06", "280,10", "05 03 2026", "1.701,04", "350,00", "1.000,00", "2.503,92"}));

        // Header, banner, day, history; money cells by their right edge.
        const double e = 144 + Celula12, s = 172 + Celula12;
        QCOMPARE(d.Fora_Do_Lugar({{1, "001208202101", 14, 171}, {1, "0012-VILA", 25, 130}, {1, "2021", 32, 115},
                                  {1, "~~~~~~~~~~~~~~~~~~~~~", Y(0), 10}, {1, "03", Y(1), 12}, {1, "CULTO", Y(1), 24},
                                  {1, "1.234,50", Y(1), e, true}, {1, "80,10", Y(8), s, true},
                                  {1, "1.000,00", Y(11), e, true}, {1, "200,00", Y(11), s, true},
                                  {1, ">>", Y(3), 12}, {1, "TOTAL", Y(3), 45}, {1, "280,10", 226, s, true},
                                  {1, "05", 264, 14}, {1, "03", 264, 32}, {1, "2026", 264, 48}, {1, "Tavrelo", 280, 178},
                                  {1, "1.701,04", 232, s, true}, {1, "2.503,92", 250, e, true}}),
                 QString());
    }

    // Bodies that fill a page exactly, a page and one line, two pages and
    // one line: the break, the carried totals and the closing block's page.
    void paginas_data() {
        Tabela<CasoPaginas>({
            {"uma página menos uma linha", {26, 0, 1, 1}},
            {"uma página exata", {27, 0, 2, 2}},
            {"uma página e uma linha", {28, 0, 2, 2}},
            {"duas páginas e uma linha", {56, 0, 3, 3}},
            // With the sector the block stays on the page of the base line.
            {"uma página exata com o setor", {20, 5, 2, 1}},
            {"duas páginas e uma linha com o setor", {20, 34, 3, 3}},
        });
    }
    void paginas() {
        QFETCH(CasoPaginas, caso);
        Fechamento_Mensal f;
        f.saldoAnterior = R(12345);
        Dinheiro entradas, saidas;
        for (int i = 0; i < caso.ofertas; ++i) {
            f.linhas.push_back(Oferta(1 + i % 28, QString("OFERTA %1").arg(i), 100 + i));
            entradas += R(100 + i);
        }
        for (int i = 0; i < caso.igrejas; ++i) {
            f.linhas.push_back(Igreja(QString("IGREJA %1").arg(i), i + 1, 1, 1000, 500));
            entradas += R(1000);
            saidas += R(500);
        }
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, caso.paginas);
        for (int p = 1; p <= d.paginas; ++p) {
            QCOMPARE(d.Linha(p, 244), p == caso.paginaFechamento ? QString("123,45") : QString());
            QCOMPARE(d.Linha(p, 32), QString("AGOSTO 2021 %1").arg(p, 2, 10, QChar('0')));
            if (p == 1) continue;
            // The carried totals are the ones the previous page's footer shows.
            const QString transporte = QString("-- TRANSPORTE DE SALDO DA PÁGINA %1 %2 %3")
                                           .arg(p - 1, 2, 10, QChar('0'))
                                           .arg(d.Linha(p - 1, 220), d.Linha(p - 1, 226));
            QCOMPARE(d.Linha(p, 48), transporte);
            QCOMPARE(d.Fora_Do_Lugar({{p, "--", 48, 12}, {p, "TRANSPORTE", 48, 25}}), QString());
        }
        // The remittance base only where the sector's lines make one.
        QCOMPARE(d.Linha(caso.paginaFechamento, 232).isEmpty(), caso.igrejas == 0);
        QCOMPARE(d.Linha(d.paginas, 220), entradas.Formata());
        QCOMPARE(d.Linha(d.paginas, 226), saidas.Formata());
        QCOMPARE(d.Linha(1, 220), d.paginas == 1 ? entradas.Formata() : d.Linha(2, 48).section(' ', -2, -2));

        // One picture under every page, held once in the job.
        const Figuras figuras = Le_Figuras(Printer::ArquivosPdf().back());
        QCOMPARE(figuras.desenhos, caso.paginas);
        QCOMPARE(figuras.objetos, 1);
    }

    // The offset boxes move every item; an empty month prints zeros.
    void deslocamentos_data() {
        Tabela<Deslocamento>({{"ponto decimal", {"2.5", 2.5}}, {"vírgula para no inteiro", {"2,5", 2.0}},
                                        {"negativo", {"-3", -3.0}}, {"não numérico", {"abc", 0.0}}, {"vazio", {"", 0.0}}});
    }
    void deslocamentos() {
        QFETCH(Deslocamento, caso);
        const double mm = caso.second;
        Fechamento_Mensal f;
        f.deslocaEsquerda = f.deslocaTopo = caso.first;
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 1);
        QCOMPARE(d.Fora_Do_Lugar({{1, "001208202101", 14 + mm, 171 + mm}, {1, "Tavrelo", 280 + mm, 178 + mm}}),
                 QString());
        QCOMPARE(d.Linha(1, 48 + mm), QString());
        QCOMPARE(d.Linhas(1, {220 + mm, 226 + mm, 232 + mm, 238 + mm, 244 + mm, 250 + mm}),
                 (QStringList{"0,00", "0,00", "", "0,00", "0,00", "0,00"}));
    }

    // Printed totals are the sums of the rows in cents, whole however wide.
    void totais_exatos() {
        QRandomGenerator gerador = Gerador_Semeado();
        Fechamento_Mensal f;
        Dinheiro ofertas, despesas;
        const QString longo = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHIJKLMN";  // 50 characters
        f.linhas.push_back(Oferta(1, longo, 99999999));
        ofertas += R(99999999);
        for (int i = 0; i < 10; ++i, ofertas += R(99999999)) f.linhas.push_back(Oferta(2, "GRANDE", 99999999));
        for (int i = 0; i < 60; ++i) {
            const qint64 c = gerador.bounded(1, 100000000);
            f.linhas.push_back(Oferta(3, "ALEATÓRIA", c));
            ofertas += R(c);
        }
        for (int i = 0; i < 40; ++i) {
            const qint64 c = gerador.bounded(1, 100000000);
            f.linhas.push_back(Lancamento("S", 4, "DESPESA", c));
            despesas += R(c);
        }
        f.saldoAnterior = R(-1000);
        f.remessas = R(2);
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 5);
        QCOMPARE(d.Linha(1, Y(1)), QString("01 ") + longo.left(48) + " 999.999,99 ----");
        QCOMPARE(d.Linha(5, 220), ofertas.Formata());
        QCOMPARE(d.Linha(5, 226), despesas.Formata());
        QCOMPARE(d.Linha(5, 250), (R(-1000) + ofertas - despesas - R(2)).Formata());
        QVERIFY(ofertas >= R(1000000000));
        // Wider than its cell: it ends on the cell's right edge.
        QCOMPARE(d.Fora_Do_Lugar({{5, ofertas.Formata(), 220, 144 + Celula12, true}}), QString());
        QCOMPARE(d.Pagina_Da_Linha(">> TOTAL DE OFERTAS R$ " + ofertas.Formata()), 3);
    }

    // Amounts too wide for the list's cells ("##########" on screen) print
    // whole from the values the rows keep, each ending where its cell ends
    // or, on a congregation's line, a character before the next amount
    // starts: nothing is printed over anything else. The amount by type
    // takes its room from the end of the name block.
    void valores_largos() {
        const QString nome = "CONGREGAÇÃO MONTE DAS OLIVEIRA";  // 30 characters
        Fechamento_Mensal f;
        f.linhas = {Oferta(3, "GRANDE", 1234567890), Lancamento("S", 4, "ESTORNO CT:123", -99999999),
                    Igreja(nome, 7, 1, 1234567890, 100000000), Igreja("VILA NOVA", 12, 1, 99999999, 99999999)};
        QCOMPARE(f.linhas[0].linha.right(21), QString("##########       ----"));
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 1);
        QCOMPARE(d.Linhas(1, {Y(1), Y(2), Y(4), Y(5), Y(7), Y(8), Y(9), 220, 226}),
                 (QStringList{"03 GRANDE 12.345.678,90 ----", ">> TOTAL DE OFERTAS R$ 12.345.678,90",
                              "04 ESTORNO CT:123 ---- -999.999,99", ">> TOTAL DE DESPESAS R$ -999.999,99",
                              "01 " + nome.left(29) + " 12.345.678,90 12.345.678,90 1.000.000,00",
                              "01 VILA NOVA(0012~1) 999.999,99 999.999,99 999.999,99",
                              ">> BASE DE REMESSA R$ 25.691.357,79", "25.691.357,79", "1.000.000,00"}));
        const double a = Celula12 / 12, e = 144 + Celula12, s = 172 + Celula12;
        QCOMPARE(d.Fora_Do_Lugar({{1, "12.345.678,90", Y(1), e, true}, {1, "-999.999,99", Y(4), s, true},
                                  {1, "1.000.000,00", Y(7), s, true}, {1, "25.691.357,79", 220, e, true},
                                  // Amounts that fit keep their places.
                                  {1, "VILA", Y(8), 24}}),
                 QString());
        for (const double y : {Y(7), Y(8)}) {
            QList<Palavra> linha;
            for (const Palavra& p : d.palavras)
                if (Perto(p.y, y)) linha << p;
            std::sort(linha.begin(), linha.end(), [](const Palavra& x, const Palavra& z) { return x.x < z.x; });
            QCOMPARE(linha.size(), y == Y(7) ? 8 : 6);
            const int n = int(linha.size());
            // The outflow at its cell's edge, the entries a character before it, the amount by
            // type at the 48th history character or, in the history's whole characters, a
            // character before them; a line that fits keeps every edge of the layout.
            QVERIFY2(Perto(linha[n - 1].direita, s), qPrintable(QString::number(linha[n - 1].direita)));
            QVERIFY2(Perto(linha[n - 2].direita, std::min(e, linha[n - 1].x - a)), qPrintable(QString::number(linha[n - 2].direita)));
            const double fim = linha[n - 3].direita, livre = linha[n - 2].x - a;
            QVERIFY2(fim < livre + 0.5 && (Perto(fim, 24 + 48 * a) || fim > livre - a - 0.5), qPrintable(QString::number(fim)));
            for (int i = 1; i < n; ++i) QVERIFY2(linha[i - 1].direita < linha[i].x, qPrintable(linha[i].texto));
        }
    }

    // What a failed print leaves: its error through the handler, nothing
    // printed, no document open.
    void falhas_data() {
        Tabela<CasoFalha>({
            {"sem a figura do impresso", {"", 53}},
            {"figura ilegível", {"isto não é uma figura", 481}},
        });
    }
    void falhas() {
        QFETCH(CasoFalha, caso);
        const QString figura = QDir(amb_->Pasta()).filePath("impresso.kwe");
        if (!caso.figura.isNull()) QFile::remove(figura);
        if (!caso.figura.isEmpty()) {
            QFile arq(figura);
            QVERIFY(arq.open(QIODevice::WriteOnly));
            QCOMPARE(arq.write(caso.figura), caso.figura.size());
        }
        Fechamento_Mensal f;
        f.linhas.push_back(Oferta(1, "CULTO", 100));
        Roteiro::Responde(vbNo);
        QVERIFY(!Imprime_Mov_Mensal(f));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro %1 >>>").arg(caso.erro));
        QVERIFY(arquivosNaPasta().isEmpty());
        QVERIFY(Printer::ArquivosPdf().isEmpty());
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    // An error in the middle of the job: Yes prints it again from page 1
    // with fresh totals and sends one document; No sends nothing.
    void nova_tentativa_data() { Tabela<int>({{"sim", vbYes}, {"não", vbNo}}); }
    void nova_tentativa() {
        QFETCH(int, caso);
        const int resposta = caso;
        Relatorio_Falho r(40, true);
        Roteiro::Responde(resposta);
        QCOMPARE(r.Imprime_Mov_Mensal(), resposta == vbYes);
        QCOMPARE(Roteiro::Caixas().back().titulo, QString("<<< Ocorrência de Erro 484 >>>"));
        if (resposta == vbNo) {
            QCOMPARE(r.tentativas, 1);
            QVERIFY(arquivosNaPasta().isEmpty());
            return;
        }
        QCOMPARE(r.tentativas, 2);
        QCOMPARE(arquivosNaPasta().size(), 1);
        const Documento d = Le_Pdf(Printer::ArquivosPdf().back());
        QCOMPARE(d.paginas, 2);
        QCOMPARE(d.Linha(1, 220), QString("29,00"));
        QCOMPARE(d.Linha(2, 220), QString("40,00"));
        QCOMPARE(d.Linha(1, 250), QString());
    }

    // The department report's footer: the running balance on every page and
    // the credit line one millimetre further right.
    void rodape_departamento() {
        Relatorio_Falho r(30, false, MolduraA4::Rodape::Departamento);
        QVERIFY(r.Imprime_Mov_Mensal());
        const Documento d = Le_Pdf(Printer::ArquivosPdf().back());
        QCOMPARE(d.paginas, 2);
        QCOMPARE(d.Linha(1, 250), QString("24,00"));  // 29,00 - 10 x 0,50
        QCOMPARE(d.Linha(2, 250), QString("25,00"));
        QCOMPARE(d.Fora_Do_Lugar({{2, "25,00", 250, 144 + Celula12, true}, {2, "Tavrelo", 280, 179}}), QString());
    }
};

REGISTRA_TESTE(tst_RelatorioLivroCaixa)
#include "tst_RelatorioLivroCaixa.moc"
