// The tithers' printouts, from the click on the form's button to the
// finished PDF job:
//  - BM_GradeDizimistas: the yearly grid of 1,000 registered tithers over a
//    year of 60,000 tithe entries (5,000 a month), 21 pages (goal: median
//    under 1 s, and within 1.5 times its floor);
//  - BM_GradePiso: that floor, the same register and year read with one
//    query each on one handle opened directly on SQLCipher and the same
//    pages drawn directly with QPainter on a QPdfWriter. Before it is
//    timed it checks that its pages' text equals the program's, page by
//    page, and stops on any difference;
//  - BM_RelacaoDizimistas: the month's list of 1,234 tithes, 25 pages
//    (goal: median under 150 ms).
// items_per_second counts the rows printed.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/Colacao.h"
#include "platform/Printer.h"
#include "platform/SqlCipher.h"
#include "printing/Dizimistas.h"
#include "shell/Principal.h"
#include "ComJanelas.h"
#include "LeituraPdf.h"
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSet>
#include <QTemporaryDir>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int TotalDizimistas = 1000;
constexpr int PorMes = 5000;
constexpr int Relacao = 1234;

[[noreturn]] void Diverge(const QString& oque) {
    std::fprintf(stderr, "o piso difere do programa: %s\n", qPrintable(oque));
    std::exit(1);
}

// The church 12 keeps 1,000 tithers under eight positions and a year of
// tithes spread over 9,000 numbers (so a registered tither pays in some
// months and not in others), one in fifty without a number; church 13
// has the month's 1,234 tithes of the list.
struct Pasta {
    QTemporaryDir dir;
    Principal* principal = nullptr;
    Pasta() {
        App::DefinePath(dir.path());
        Esquema::Cria(Banco::CaminhoArquivo());
        Executa_SQL(QStringLiteral("INSERT INTO Parametros (Codigo, Razao, Reg_Setor, Congrega, Tipo, Mes, Ano) "
                                   "VALUES (12, 'IGREJA CENTRAL', 'SETOR NORTE', 'VILA NOVA', 'S', 8, 2021)"));
        Executa_SQL(QStringLiteral("INSERT INTO Cargos (Codigo, Descricao, Abreviado) VALUES (1, 'PASTOR', 'PR'), "
                                   "(2, 'EVANGELISTA', 'EV'), (3, 'MISSIONÁRIO', 'MS'), (4, 'MEMBRO', 'MB'), "
                                   "(5, 'PRESBÍTERO', 'PB'), (6, 'DIÁCONO', 'DC'), (7, 'COOPERADOR', 'CP'), "
                                   "(8, 'CONGREGADO', 'CG')"));
        Executa_SQL(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO Dizimos (Codigo, CodIg, RI, Nome, Cargo) "
            "SELECT i, 12, printf('%08d', i), 'DIZIMISTA ' || substr('ÁBCDEFGHIJ', 1 + i % 10, 1) || ' NÚMERO ' || i, "
            "       1 + i % 8 FROM n")
                        .arg(TotalDizimistas));
        Executa_SQL(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1 - 1) "
            "INSERT INTO LivroCaixa (Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor) "
            "SELECT i + 1, 12, 2021, 1 + i / %2, 1 + i % 28, 'D', "
            "       CASE WHEN i % 50 = 0 THEN 'DIZIMISTA SEM REGISTRO' ELSE "
            "       'DIZIMISTA ' || (1 + (i * 7919) % 9000) || ' RI:' || printf('%08d', 1 + (i * 7919) % 9000) || ' MB' END, "
            "       (i % 100000) / 100.0 FROM n")
                        .arg(12 * PorMes)
                        .arg(PorMes));
        Executa_SQL(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO LivroCaixa (Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor) "
            "SELECT 100000 + i, 13, 2021, 8, 1 + i % 28, 'D', "
            "       'DIZIMISTA ' || substr('ÁBCDEFGHIJ', 1 + i % 10, 1) || ' ' || i || ' RI:' || printf('%08d', i) || ' MB', "
            "       10 FROM n")
                        .arg(Relacao));
        Printer::DefinePastaPdf(dir.path() + QStringLiteral("/pdf"));
        principal = Abre_Principal();
    }
    ::Dizimistas* Abre() const {
        principal->Diz_Rel->trigger();
        return Form::Instancia<::Dizimistas>();
    }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

QString Ultimo_Pdf() { return Printer::ArquivosPdf().back(); }

using Leitura_Pdf::Paginas;
using Leitura_Pdf::Texto_Paginas;

// ---------------------------------------------------------------- floor

struct Handle {
    sqlite3* db = nullptr;
    explicit Handle(const QString& arquivo) {
        QFile f(arquivo);
        f.open(QIODevice::ReadOnly);
        const QByteArray chave = "x'" + SqlCipher::Chave(f.read(16)).toHex() + "'";
        const QByteArray caminho = QFile::encodeName(arquivo);
        if (sqlite3_open_v2(caminho.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK ||
            sqlite3_key(db, chave.constData(), int(chave.size())) != SQLITE_OK)
            Diverge(QStringLiteral("abertura"));
    }
    ~Handle() { sqlite3_close_v2(db); }
};

struct Stmt {
    sqlite3_stmt* st = nullptr;
    Stmt(const Handle& h, const char* sql) {
        if (sqlite3_prepare_v2(h.db, sql, -1, &st, nullptr) != SQLITE_OK) Diverge(QString::fromUtf8(sqlite3_errmsg(h.db)));
    }
    ~Stmt() { sqlite3_finalize(st); }
    bool Passo() { return sqlite3_step(st) == SQLITE_ROW; }
    QString Texto(int i) const {
        return QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(st, i)),
                                  sqlite3_column_bytes16(st, i) / 2);
    }
};

QString Ajusta(const QString& t, int largura) { return t.size() >= largura ? t.left(largura) : t.leftJustified(largura); }
QString Centro(const QString& t) {
    if (t.size() >= 78) return t.left(78);
    const qsizetype antes = (78 - t.size()) / 2;
    return QString(antes, QLatin1Char(' ')) + t + QString(78 - t.size() - antes, QLatin1Char(' '));
}

// The register and the year read on one handle, the grid drawn straight
// onto a PDF page by page.
void Piso_Grade(const QString& arquivo, const QString& saida) {
    struct Dizimista {
        QString linha, ri;
    };
    std::vector<Dizimista> cadastro;
    std::array<QSet<QString>, 12> marcas;
    {
        Handle h(arquivo);
        Stmt r(h, "SELECT C.Abreviado, D.Nome, D.RI FROM Dizimos D LEFT JOIN Cargos C ON C.Codigo = D.Cargo "
                  "WHERE D.CodIg = 12");
        while (r.Passo())
            cadastro.push_back({Ajusta(r.Texto(0) + QLatin1Char('.'), 4) + Ajusta(r.Texto(1), 51) + Ajusta(r.Texto(2), 10),
                                r.Texto(2).trimmed()});
        Stmt a(h, "SELECT Mes, Historico FROM LivroCaixa WHERE CodIg = 12 AND Ano = 2021 AND Tipo = 'D'");
        while (a.Passo()) {
            const int mes = sqlite3_column_int(a.st, 0);
            const QString hist = a.Texto(1);
            const qsizetype p = hist.indexOf(QLatin1String("RI:"));
            if (p < 0 || mes < 1 || mes > 12) continue;
            const qsizetype fim = hist.indexOf(QLatin1Char(' '), p + 3);
            marcas[size_t(mes - 1)].insert(hist.mid(p + 3, fim < 0 ? -1 : fim - p - 3));
        }
    }
    std::stable_sort(cadastro.begin(), cadastro.end(),
                     [](const Dizimista& x, const Dizimista& y) { return Compara_PTBR(x.linha, y.linha) < 0; });

    QPdfWriter pdf(saida);
    pdf.setResolution(1200);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter pt(&pdf);
    QFont fonte(QStringLiteral("Liberation Mono"));
    fonte.setPointSizeF(12);
    QFont credito = fonte;
    credito.setPointSizeF(7);
    const double u = 1200 / 25.4;
    const double sobe = QFontMetricsF(fonte, &pdf).ascent(), sobe7 = QFontMetricsF(credito, &pdf).ascent();
    pt.setPen(Qt::black);
    const auto texto = [&](double x, double y, const QString& t) {
        pt.drawText(QPointF(x * u, y * u + sobe), t);
    };
    const QString regua(78, QLatin1Char('~'));
    int pagina = 1;
    const auto cabecalho = [&] {
        pt.setFont(fonte);
        texto(7, 8, regua);
        texto(7, 13, Centro(QStringLiteral("IGREJA CENTRAL")));
        texto(7, 18, Centro(QStringLiteral("SETOR NORTE - VILA NOVA")));
        texto(7, 23, Centro(QStringLiteral("Relação de Dizimistas do Mês 1 ao 12 de 2021")));
        texto(185, 23, QStringLiteral("Pág. %1").arg(pagina, 2, 10, QLatin1Char('0')));
        texto(7, 28, QStringLiteral("NOME DO DIZIMISTA             JAN FEV MAR ABR MAI JUN JUL AGO SET OUT NOV DEZ"));
        texto(7, 31, regua);
    };
    const auto rodape = [&] {
        texto(7, 280, regua);
        texto(7, 285, Centro(QStringLiteral("Uma Obra de fé!")));
        pt.setFont(credito);
        pt.drawText(QPointF(180 * u, 286 * u + sobe7), QStringLiteral("Tavrelo"));
    };
    cabecalho();
    float y = 30;
    for (const Dizimista& d : cadastro) {
        y = float(double(y) + 4.8);
        QString linha = Ajusta(d.linha.left(29), 29);
        const bool numero = d.ri.toLongLong() != 0;
        for (int m = 0; m < 12; ++m)
            linha += numero && marcas[size_t(m)].contains(d.ri) ? QStringLiteral("  OK") : QStringLiteral("  --");
        texto(7, y, linha);
        if (y > 270) {
            rodape();
            pdf.newPage();
            ++pagina;
            cabecalho();
            y = 30;
        }
    }
    if (y < 243) {
        const QString versos[] = {
            QStringLiteral("E  digo  isto:  Que  o  que  semeia  pouco  pouco  também  ceifará;"),
            QStringLiteral("E  o  que  semeia  em  abundância  em  abundância  também  ceifará."),
            QStringLiteral("Cada  um  contribua  segundo  propôs  no  seu  coração,   não  com"),
            QStringLiteral("tristeza ou por necessidade; porque Deus ama ao que dá com alegria."),
            QStringLiteral("II Corintios 9 v 6,7")};
        y = float(double(y) + 8);
        for (int i = 0; i < 5; ++i) {
            if (i) y = float(double(y) + 4.8);
            texto(7, y, Centro(versos[i]));
        }
    }
    rodape();
}

// ---------------------------------------------------------------- runs

void BM_GradeDizimistas(benchmark::State& estado) {
    ::Dizimistas* f = pasta().Abre();
    Param[1] = QStringLiteral("0012");
    int paginas = 0;
    for (auto _ : estado) {
        f->CmdMes->click();
        estado.PauseTiming();
        if (paginas == 0) paginas = Paginas(Ultimo_Pdf());
        QFile::remove(Ultimo_Pdf());
        estado.ResumeTiming();
    }
    estado.counters["paginas"] = paginas;
    estado.counters["lancamentos"] = 12 * PorMes;
    estado.SetItemsProcessed(estado.iterations() * TotalDizimistas);
}
BENCHMARK(BM_GradeDizimistas)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_GradePiso(benchmark::State& estado) {
    ::Dizimistas* f = pasta().Abre();
    Param[1] = QStringLiteral("0012");
    const QString arquivo = Banco::CaminhoArquivo();
    const QString saida = pasta().dir.path() + QStringLiteral("/piso.pdf");
    static bool conferido = false;
    if (!conferido) {
        f->CmdMes->click();
        const QStringList programa = Texto_Paginas(Ultimo_Pdf());
        Piso_Grade(arquivo, saida);
        const QStringList piso = Texto_Paginas(saida);
        if (programa.size() != piso.size()) Diverge(QStringLiteral("número de páginas"));
        for (qsizetype i = 0; i < piso.size(); ++i)
            if (programa[i] != piso[i]) Diverge(QStringLiteral("página %1").arg(i + 1));
        conferido = true;
    }
    for (auto _ : estado) {
        Piso_Grade(arquivo, saida);
        estado.PauseTiming();
        QFile::remove(saida);
        estado.ResumeTiming();
    }
    estado.SetItemsProcessed(estado.iterations() * TotalDizimistas);
}
BENCHMARK(BM_GradePiso)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RelacaoDizimistas(benchmark::State& estado) {
    ::Dizimistas* f = pasta().Abre();
    Param[1] = QStringLiteral("0013");
    int paginas = 0;
    for (auto _ : estado) {
        f->CmdImprime->click();
        estado.PauseTiming();
        if (paginas == 0) paginas = Paginas(Ultimo_Pdf());
        QFile::remove(Ultimo_Pdf());
        estado.ResumeTiming();
    }
    if (f->LstDizimistas->ListCount() != Relacao) estado.SkipWithError("a lista não tem as linhas do mês");
    estado.counters["paginas"] = paginas;
    estado.SetItemsProcessed(estado.iterations() * Relacao);
    Param[1] = QStringLiteral("0012");
}
BENCHMARK(BM_RelacaoDizimistas)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) { return Roda_Benchmarks(argc, argv); }
