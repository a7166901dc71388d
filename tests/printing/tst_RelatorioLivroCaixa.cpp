// The cash-book closing report, printed into PDF files and read back with
// poppler's own tools: where each item lands in millimetres, how the body
// breaks into pages and carries its totals, the closing block, and what a
// failed print leaves behind.
#include "common/Formularios.h"
#include "common/LinhaLancamento.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "platform/Printer.h"
#include "platform/Relogio.h"
#include "printing/MolduraA4.h"
#include "printing/RelatorioLivroCaixa.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {

struct Palavra {
    int pagina = 0;
    double x = -1, y = -1, direita = -1;  // millimetres from the paper's corner
    QString texto;
};

struct Documento {
    int paginas = 0;
    QList<Palavra> palavras;
    // The words of a page whose top is within half a millimetre of y, left
    // to right, joined by blanks.
    QString Linha(int pagina, double y) const {
        QStringList r;
        for (const Palavra& w : palavras)
            if (w.pagina == pagina && qAbs(w.y - y) <= 0.5) r << w.texto;
        return r.join(' ');
    }
    // The first word with this text on the page (on the line at y).
    Palavra Acha(int pagina, const QString& texto, double y = -1) const {
        for (const Palavra& w : palavras)
            if (w.pagina == pagina && w.texto == texto && (y < 0 || qAbs(w.y - y) <= 0.5)) return w;
        return {};
    }
};

QString Executa(const QString& programa, const QStringList& args) {
    QProcess p;
    p.start(programa, args);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

Documento Le_Pdf(const QString& pdf) {
    static const QRegularExpression palavra(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    static const QRegularExpression paginas(R"(Pages:\s+(\d+))");
    Documento d;
    d.paginas = paginas.match(Executa("pdfinfo", {pdf})).captured(1).toInt();
    const QStringList partes = Executa("pdftotext", {"-bbox", pdf, "-"}).split("<page ");
    const double mm = 25.4 / 72;
    for (int i = 1; i < partes.size(); ++i)
        for (auto it = palavra.globalMatch(partes[i]); it.hasNext();) {
            const auto m = it.next();
            d.palavras << Palavra{i, m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                                  m.captured(3).toDouble() * mm, m.captured(4).replace("&gt;", ">").replace("&lt;", "<").replace("&quot;", "\"").replace("&amp;", "&")};
        }
    return d;
}

// Courier New at 12 points: a money cell of 12 characters ends here.
constexpr double Celula12 = 12 * 12 * (1229.0 / 2048) * 25.4 / 72;

double Y(int linha) { return 48.0 + linha * 5.94; }  // body line, from 0

Dinheiro R(qint64 centavos) { return Dinheiro::DeCentavos(centavos); }

QString Oferta(int dia, const QString& historico, qint64 centavos) {
    return Linha_Lancamento::Monta("O", dia, historico, R(centavos));
}

// A sector congregation's row: its name block, the amount by calculation
// type, its entries and its outflows.
QString Igreja(const QString& nome, int codigo, int calculo, qint64 calculado, qint64 entradas, qint64 saidas) {
    const QString bloco = nome + QString("(%1~%2)").arg(codigo, 4, 10, QChar('0')).arg(calculo);
    return Formata_Texto("I", 2, "E") + Formata_Texto("01", 3, "E") + Formata_Texto(bloco, 38, "E") +
           Formata_Texto(R(calculado).Formata(), 10, "D") + "  " + Formata_Texto(R(entradas).Formata(), 10, "D") + ' ' +
           Formata_Texto(R(saidas).Formata(), 10, "D");
}

void Grava_Impresso(const QString& pasta) {
    QImage figura(236, 330, QImage::Format_Grayscale8);
    figura.fill(230);
    QVERIFY(figura.save(QDir(pasta).filePath("impresso.kwe"), "PNG"));
}

// A report of the frame alone whose body may fail once, on its second page.
class Relatorio_Falho final : public MolduraA4 {
public:
    Relatorio_Falho(int linhas, bool falha) : MolduraA4("0", "0"), linhas_(linhas), falha_(falha) {}
    int tentativas = 0;

private:
    void Imprime_Cabec(qint16 Pag) override { Imprime_Texto(180, 32, QString::number(Pag), 12); }
    void Imprime_Corpo() override {
        ++tentativas;
        for (int i = 0; i < linhas_; ++i) {
            if (falha_ && tentativas == 1 && Pagina == 2) Levanta_Erro(484, "papel");
            Imprime_Valor(144, Lin, R(100));
            Tot_Entradas += R(100);
            Incrementa_Lin("S");
        }
    }
    int linhas_;
    bool falha_;
};

}  // namespace

struct CasoPaginas {
    int ofertas;
    int igrejas;
    int paginas;
    int paginaFechamento;
};
Q_DECLARE_METATYPE(CasoPaginas)

struct CasoFalha {
    QByteArray impresso;  // empty: no picture file
    QString linha;        // a row of the month
    bool semImpressora;
    long erro;
};
Q_DECLARE_METATYPE(CasoFalha)

class tst_RelatorioLivroCaixa : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;
    QString pdfs_;

    Documento imprime(const Fechamento_Mensal& dados) {
        const qsizetype antes = Printer::ArquivosPdf().size();
        if (!Imprime_Mov_Mensal(dados)) return {};
        const QStringList arquivos = Printer::ArquivosPdf();
        if (arquivos.size() != antes + 1) return {};
        return Le_Pdf(arquivos.back());
    }
    QStringList arquivosNaPasta() const { return QDir(pdfs_).entryList({"*.pdf"}, QDir::Files); }

private slots:
    void init() {
        amb_ = std::make_unique<Ambiente>(false);
        pdfs_ = amb_->Pasta() + "/pdf";
        Printer::DefinePastaPdf(pdfs_);
        Grava_Impresso(amb_->Pasta());
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
                    Linha_Lancamento::De_Registro("D", 5, "ANA LIMA RI:00000042 MB", R(30000)),
                    Linha_Lancamento::Monta("S", 20, "CONTA DE LUZ CT:123", R(8010)),
                    Igreja("VILA NOVA", 12, 3, 70000, 100000, 20000),
                    Igreja("MONTE SIÃO", 7, 1, 55055, 55055, 0)};
        f.saldoAnterior = R(100000);
        f.remessas = R(35000);
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 1);

        QCOMPARE(d.Linha(1, 14), QString("001208202101"));
        QVERIFY(qAbs(d.Acha(1, "001208202101").x - 171) <= 0.5);
        QCOMPARE(d.Linha(1, 25), QString("SETOR NORTE 0012-VILA NOVA"));
        QVERIFY(qAbs(d.Acha(1, "0012-VILA").x - 130) <= 0.5);
        QCOMPARE(d.Linha(1, 32), QString("AGOSTO 2021 01"));
        QVERIFY(qAbs(d.Acha(1, "2021").x - 115) <= 0.5);

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
            "01 MONTE SIÃO(0007~1) 550,55 550,55 0,00",
            // The installation's own offerings and tithes and the
            // congregations' amounts by type.
            ">> BASE DE REMESSA R$ 2.835,05",
        };
        for (int i = 0; i < corpo.size(); ++i) QCOMPARE(d.Linha(1, Y(i)), corpo[i]);
        QCOMPARE(d.Linha(1, Y(corpo.size())), QString());

        // Columns: banner, day, history, money cells by their right edge.
        QVERIFY(qAbs(d.Acha(1, "~~~~~~~~~~~~~~~~~~~~~").x - 10) <= 0.5);
        const Palavra dia = d.Acha(1, "03"), hist = d.Acha(1, "CULTO"), oferta = d.Acha(1, "1.234,50");
        QVERIFY(qAbs(dia.x - 12) <= 0.5 && qAbs(hist.x - 24) <= 0.5);
        QVERIFY2(qAbs(oferta.direita - (144 + Celula12)) <= 0.5, qPrintable(QString::number(oferta.direita)));
        const Palavra luz = d.Acha(1, "80,10");
        QVERIFY(qAbs(luz.direita - (172 + Celula12)) <= 0.5 && qAbs(luz.y - Y(8)) <= 0.5);
        QVERIFY(qAbs(d.Acha(1, "1.000,00").direita - (144 + Celula12)) <= 0.5);
        QVERIFY(qAbs(d.Acha(1, "200,00").direita - (172 + Celula12)) <= 0.5);
        QVERIFY(qAbs(d.Acha(1, "700,00").y - Y(11)) <= 0.5);
        QVERIFY(qAbs(d.Acha(1, ">>").x - 12) <= 0.5 && qAbs(d.Acha(1, "TOTAL").x - 45) <= 0.5);

        // Footer: entries 1.284,50 + 300,00 + 1.550,55; outflows 80,10 + 200,00.
        QCOMPARE(d.Linha(1, 220), QString("3.135,05"));
        QCOMPARE(d.Linha(1, 226), QString("280,10"));
        QVERIFY(qAbs(d.Acha(1, "280,10").direita - (172 + Celula12)) <= 0.5);
        QCOMPARE(d.Linha(1, 264), QString("05 03 2026"));
        QVERIFY(qAbs(d.Acha(1, "05", 264).x - 14) <= 0.5);
        QVERIFY(qAbs(d.Acha(1, "03", 264).x - 32) <= 0.5);
        QVERIFY(qAbs(d.Acha(1, "2026", 264).x - 48) <= 0.5);
        const Palavra credito = d.Acha(1, "Tavrelo");
        QVERIFY(qAbs(credito.x - 178) <= 0.5 && qAbs(credito.y - 280) <= 0.5);

        // Closing block: 0.6 of the base (1.701,03), the remittances, the
        // previous balance and 1.000,00 + 350,00 + 3.135,05 - 280,10 - 1.701,03.
        QCOMPARE(d.Linha(1, 232), QString("1.701,03"));
        QCOMPARE(d.Linha(1, 238), QString("350,00"));
        QCOMPARE(d.Linha(1, 244), QString("1.000,00"));
        QCOMPARE(d.Linha(1, 250), QString("2.503,92"));
        QVERIFY(qAbs(d.Acha(1, "1.701,03").direita - (172 + Celula12)) <= 0.5);
        QVERIFY(qAbs(d.Acha(1, "2.503,92").direita - (144 + Celula12)) <= 0.5);
    }
};

REGISTRA_TESTE(tst_RelatorioLivroCaixa)
#include "tst_RelatorioLivroCaixa.moc"
