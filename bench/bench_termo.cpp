// The closing statement on a workbook of the twelve month sheets with 500
// congregation lines each, FECHAMENTO, TC and DADOS (about 3 MB of XML):
//  - BM_Termo: the run from the click on "Exportar Dados" (the answers
//    given through the input-box seam) to the saved file: the check that
//    the month is still the one loaded, the posting of the installation's
//    month and the month's figures read in the same unit of work, the walk
//    of the month sheet, the cells written and the workbook saved over the
//    file (goal: median under 500 ms);
//  - BM_Planilha: the run's work on the workbook alone, through the
//    workbook editor: the walk of the month sheet, the same cells written
//    with the figures the run read, and the save;
//  - BM_Piso: its floor, the same archive rewritten through libzip with
//    the same sheets' XML changed by direct string edits (the written
//    cells, and the values of the formulas that depend on them taken
//    away), deflated at the same level, saved the same way (written
//    beside the file, flushed, renamed over it); and the other sheets
//    read and their formulas found, the least any program does to know
//    that none of them depends on a written cell.
// Each starts each iteration from a fresh copy of the workbook; the goal is
// BM_Planilha within 1.5 times BM_Piso. Before timing, the three outputs
// are read back and must hold the same values in the cells the run writes,
// must have taken the values of the same formulas away, and must have
// rewritten the same entries, each deflated at zlib's level 6.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "exports/ExpTermo.h"
#include "platform/App.h"
#include "platform/ListasArquivos.h"
#include "platform/MsgBox.h"
#include "platform/Planilha.h"
#include "platform/PlanilhaInterna.h"
#include "platform/Shell.h"
#include "shell/Principal.h"
#include "ComJanelas.h"
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <array>
#include <optional>
#include <benchmark/benchmark.h>
#include <string>
#include <zip.h>

namespace {

constexpr int Linhas = 500;
constexpr int Igreja = 9999;  // its own line is among the month sheet's
const char* const Colunas[] = {"E", "F", "G", "H", "I", "M"};

std::string Cel(const std::string& ref, const std::string& conteudo, int estilo = 0) {
    return "<c r=\"" + ref + "\"" + (estilo ? " s=\"" + std::to_string(estilo) + "\"" : std::string()) + ">" + conteudo + "</c>";
}
std::string Num(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.2f", v);
    return "<v>" + std::string(b) + "</v>";
}
std::string Texto(const std::string& ref, const std::string& t) { return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + t + "</t></is></c>"; }

const std::string Cabeca =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet "
    "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";

std::string Folha_Mes(int mes) {
    std::string x = Cabeca + "<dimension ref=\"A1:U503\"/><sheetViews><sheetView workbookViewId=\"0\"" +
                    (mes == 1 ? std::string(" tabSelected=\"1\"") : std::string()) + "/></sheetViews><sheetData>";
    x += "<row r=\"1\">" + Texto("A1", "MOVIMENTO") + "</row>";
    x += "<row r=\"2\">" + Cel("E2", "<f>SUM(E4:E503)</f>" + Num(Linhas * 900.0)) + "</row>";
    for (int r = 4; r < 4 + Linhas; ++r) {
        const std::string n = std::to_string(r);
        x += "<row r=\"" + n + "\">";
        const int codigo = r == 10 ? Igreja : r - 3;
        x += Cel("A" + n, Num(codigo));
        for (const char* c : Colunas) x += Cel(c + n, Num(900), 1);
        x += Cel("N" + n, "<f>E" + n + "-M" + n + "</f>" + Num(0));
        x += Texto("T" + n, "conferido") + Texto("U" + n, "ok");
        x += "</row>";
    }
    return x + "</sheetData></worksheet>";
}

std::string Folha_TC() {
    std::string x = Cabeca + "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews><sheetData>";
    x += "<row r=\"6\">" + Texto("E6", "JULHO") + "</row>";
    for (int r = 45; r <= 51; r += 2)
        x += "<row r=\"" + std::to_string(r) + "\">" + Cel("D" + std::to_string(r), Num(44378), 2) +
             Cel("I" + std::to_string(r), Num(11.11), 1) + "</row>";
    x += "<row r=\"53\">" + Cel("I53", "<f>SUM(I45:I51)</f>" + Num(44.44), 1) + "</row>";
    x += "<row r=\"73\">" + Texto("F73", "antigo") + "</row><row r=\"74\">" + Texto("F74", "antigo") + "</row>";
    return x + "</sheetData></worksheet>";
}

std::string Folha_Dados() {
    std::string x = Cabeca + "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews><sheetData>";
    for (int r = 15; r <= 26; ++r) {
        const std::string n = std::to_string(r);
        x += "<row r=\"" + n + "\">" + Cel("C" + n, Num(44378), 2) + Cel("E" + n, Num(1), 1) + Cel("F" + n, Num(2), 1) +
             Cel("G" + n, "<f>E" + n + "+F" + n + "</f>" + Num(3), 1) + "</row>";
    }
    return x + "</sheetData></worksheet>";
}

std::string Folha_Fechamento() {
    return Cabeca + "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews><sheetData><row r=\"11\">" +
           Texto("B11", "JULHO") + "</row></sheetData></worksheet>";
}

// The statement workbook, written directly as its parts.
void Cria_Planilha(const QString& caminho) {
    std::vector<std::pair<std::string, std::string>> folhas = {{"FECHAMENTO", Folha_Fechamento()}};
    for (int m = 1; m <= 12; ++m) folhas.push_back({(m < 10 ? "0" : "") + std::to_string(m), Folha_Mes(m)});
    folhas.push_back({"TC", Folha_TC()});
    folhas.push_back({"DADOS", Folha_Dados()});

    std::string tipos = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Types "
                        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
                        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
                        "ContentType=\"application/xml\"/><Override PartName=\"/xl/workbook.xml\" "
                        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
                        "<Override PartName=\"/xl/styles.xml\" "
                        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    std::string livro = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<workbook "
                        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                        "<bookViews><workbookView activeTab=\"1\"/></bookViews><sheets>";
    std::string rels = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
                       "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                       "<Relationship Id=\"rEst\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                       "styles\" Target=\"styles.xml\"/>";
    for (size_t i = 0; i < folhas.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        tipos += "<Override PartName=\"/xl/worksheets/sheet" + n +
                 ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        livro += "<sheet name=\"" + folhas[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                "worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    }
    tipos += "</Types>";
    livro += "</sheets><calcPr calcId=\"191029\"/></workbook>";
    rels += "</Relationships>";
    const std::string estilos =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<styleSheet "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><numFmts count=\"2\"><numFmt numFmtId=\"164\" "
        "formatCode=\"#,##0.00\"/><numFmt numFmtId=\"165\" formatCode=\"dd/mm/yyyy\"/></numFmts><fonts count=\"1\"><font><sz "
        "val=\"11\"/><name val=\"Calibri\"/></font></fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border/></borders>"
        "<cellStyleXfs count=\"1\"><xf/></cellStyleXfs><cellXfs count=\"3\"><xf numFmtId=\"0\"/><xf numFmtId=\"164\" "
        "applyNumberFormat=\"1\"/><xf numFmtId=\"165\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>";
    const std::string pacote =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"xl/workbook.xml\"/></Relationships>";

    std::vector<std::pair<std::string, std::string>> partes = {{"[Content_Types].xml", tipos}, {"_rels/.rels", pacote},
                                                               {"xl/workbook.xml", livro},     {"xl/_rels/workbook.xml.rels", rels},
                                                               {"xl/styles.xml", estilos}};
    for (size_t i = 0; i < folhas.size(); ++i)
        partes.push_back({"xl/worksheets/sheet" + std::to_string(i + 1) + ".xml", folhas[i].second});
    int erro = 0;
    zip_t* z = zip_open(caminho.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    for (const auto& [nome, texto] : partes)
        zip_file_add(z, nome.c_str(), zip_source_buffer(z, texto.data(), texto.size(), 0), ZIP_FL_ENC_UTF_8);
    if (!z || zip_close(z) != 0) qFatal("não criou a planilha");
}

// The figures of each line of the month sheet (none for a congregation
// without any), as the run writes them; the floor writes the same.
std::vector<std::optional<std::array<double, 6>>>& figuras() {
    static std::vector<std::optional<std::array<double, 6>>> f;
    return f;
}

struct Pasta {
    QTemporaryDir dir;
    QString modelo, termo;
    ExpTermo* form = nullptr;
    Pasta() {
        App::DefinePath(dir.path());
        Esquema::Cria(Banco::CaminhoArquivo());
        Executa_SQL(QStringLiteral("INSERT INTO Parametros (Codigo, Razao, Reg_Setor, Congrega, Tipo, Mes, Ano) "
                                   "VALUES (%1, 'IGREJA', 'SETOR', 'SEDE', 'S', 8, 2021)")
                        .arg(Igreja));
        Executa_SQL(QStringLiteral(
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                        "INSERT INTO LivroCaixa (Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor) "
                        "SELECT i, %1, 2021, 8, 1 + i % 28, substr('OS', 1 + i % 2, 1), 'LANCAMENTO ' || i || ' CT:1', "
                        "       (i % 1000) / 10.0 FROM n")
                        .arg(Igreja));
        Executa_SQL(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) "
                                   "INSERT INTO Igrejas (CodIg, CodCongrega, Nome, Calculo) "
                                   "SELECT %1, i, 'CONGREGAÇÃO ' || i, 1 + i % 6 FROM n")
                        .arg(Igreja)
                        .arg(Linhas));
        Executa_SQL(QStringLiteral("INSERT INTO TotIgrejas (Codigo, CodIg, CodCongrega, Ano, Mes, Entradas, Saidas, Aluguel, "
                                   "Agua, Luz, Prebenda) SELECT CodCongrega, CodIg, CodCongrega, 2021, 8, 1000 + CodCongrega / "
                                   "100.0, 300.5, 100, 50.25, 25.75, NULL FROM Igrejas WHERE CodCongrega % 10 <> 0"));
        Executa_SQL(QStringLiteral("INSERT INTO Remessas (Codigo, CodIg, Ano, Mes, Dia, Valor) VALUES "
                                   "(1, %1, 2021, 8, 5, 100.1), (2, %1, 2021, 8, 20, 250)")
                        .arg(Igreja));
        modelo = dir.filePath("modelo.xlsx");
        termo = dir.filePath("Termo.xlsx");
        Cria_Planilha(modelo);
        QFile::copy(modelo, termo);

        Roteiro::Instala();
        Shell::DefineAcao([](const QString&) { return true; });
        Pastas::DefinePessoal(dir.path());
        auto* principal = Abre_Principal();
        principal->Exp_Termo->trigger();
        form = Form::Instancia<ExpTermo>();
        form->CmdExcel->click();
        form->File_Termo->setFileName(QStringLiteral("Termo.xlsx"));
        if (form->TxtArq->Text() != termo) qFatal("o arquivo não foi escolhido");
    }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

void Copia_Modelo() {
    QFile::remove(pasta().termo);
    QFile::copy(pasta().modelo, pasta().termo);
}

void Roda_Termo() {
    Roteiro::LimpaCaixas();
    Roteiro::RespondeTexto(QStringLiteral("45,00"));
    Roteiro::RespondeTexto(QStringLiteral("120,00"));
    Roteiro::Responde(vbOK);
    pasta().form->Cmd_Transp->click();
    if (Roteiro::Caixas().empty() || Roteiro::Caixas().back().prompt != QLatin1String("Rotina concluida com sucesso"))
        qFatal("o termo não foi concluído");
}

// A part's XML rewritten in one pass: each cell element replaced whole, in
// the order of the cells, the text between copied as it is.
struct Edicao {
    const std::string& origem;
    std::string saida;
    size_t pos = 0;
    explicit Edicao(const std::string& o) : origem(o) { saida.reserve(o.size() + o.size() / 8); }
    void Troca(const std::string& ref, const std::string& novo) {
        const size_t i = origem.find("<c r=\"" + ref + "\"", pos);
        if (i == std::string::npos) qFatal("célula %s não encontrada", ref.c_str());
        size_t fim = origem.find('>', i);
        fim = origem[fim - 1] == '/' ? fim + 1 : origem.find("</c>", fim) + 4;
        saida.append(origem, pos, i - pos);
        saida += novo;
        pos = fim;
    }
    std::string Fim() {
        saida.append(origem, pos);
        return std::move(saida);
    }
};

std::string Le(zip_t* z, const char* nome) {
    zip_stat_t st;
    zip_stat(z, nome, 0, &st);
    std::string s(size_t(st.size), '\0');
    zip_file_t* f = zip_fopen(z, nome, 0);
    zip_fread(f, s.data(), st.size);
    zip_fclose(f);
    return s;
}

size_t formulasLidas = 0;

// The floor: the same cells changed by string edits, the archive rewritten
// through libzip and saved beside the file, flushed and renamed.
void Piso() {
    QFile f(pasta().termo);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    f.close();
    Planilha_Interna::Arquivo_Em_Memoria memoria(bytes);
    zip_t* z = memoria.Abre();
    const auto troca = [&](const char* nome, const std::function<void(Edicao&)>& edita) {
        const std::string xml = Le(z, nome);
        Edicao e(xml);
        edita(e);
        zip_file_replace(z, zip_uint64_t(zip_name_locate(z, nome, 0)), Planilha_Interna::Fonte_Deflate(z, e.Fim()), 0);
    };
    const auto texto = [&](const char* nome, const std::function<void(std::string&)>& edita) {
        std::string xml = Le(z, nome);
        edita(xml);
        zip_file_replace(z, zip_uint64_t(zip_name_locate(z, nome, 0)), Planilha_Interna::Fonte_Deflate(z, xml), 0);
    };
    troca("xl/worksheets/sheet1.xml", [](Edicao& e) { e.Troca("B11", Texto("B11", "AGOSTO")); });
    troca("xl/worksheets/sheet9.xml", [](Edicao& e) {
        e.Troca("E2", Cel("E2", "<f>SUM(E4:E503)</f>"));
        for (int r = 4; r < 4 + Linhas; ++r) {
            const std::string n = std::to_string(r);
            const auto& linha = figuras()[size_t(r - 4)];
            for (size_t k = 0; k < 6; ++k)
                e.Troca(Colunas[k] + n, linha ? Cel(Colunas[k] + n, Num((*linha)[k]), 1) : std::string("<c r=\"") + Colunas[k] + n + "\" s=\"1\"/>");
            e.Troca("N" + n, Cel("N" + n, "<f>E" + n + "-M" + n + "</f>"));
            e.Troca("T" + n, "<c r=\"T" + n + "\"/>");
            e.Troca("U" + n, "<c r=\"U" + n + "\"/>");
        }
    });
    texto("xl/worksheets/sheet14.xml", [](std::string& x) {
        const std::string vista = "<sheetView workbookViewId=\"0\"/>";
        x.replace(x.find(vista), vista.size(),
                  "<sheetView workbookViewId=\"0\" tabSelected=\"1\"><selection activeCell=\"F75\" sqref=\"F75\"/></sheetView>");
        Edicao e(x);
        e.Troca("E6", Texto("E6", "AGOSTO"));
        for (int r = 45; r <= 51; r += 2) {
            const bool remessa = r <= 47;
            e.Troca("D" + std::to_string(r),
                    remessa ? Cel("D" + std::to_string(r), Num(r == 45 ? 44413 : 44428), 2) : "<c r=\"D" + std::to_string(r) + "\" s=\"2\"/>");
            e.Troca("I" + std::to_string(r),
                    remessa ? Cel("I" + std::to_string(r), Num(r == 45 ? 100.1 : 250), 1) : "<c r=\"I" + std::to_string(r) + "\" s=\"1\"/>");
        }
        e.Troca("I53", Cel("I53", "<f>SUM(I45:I51)</f>", 1));
        e.Troca("F73", Texto("F73", "Caso tenha dúvidas sobre a utilização do Quorvane acesse:"));
        e.Troca("F74", Texto("F74", TESOURARIA_PAGINA_AUTOR));
        x = e.Fim();
    });
    troca("xl/worksheets/sheet15.xml", [](Edicao& e) {
        e.Troca("C22", Cel("C22", Num(double(QDate(1899, 12, 30).daysTo(QDate::currentDate()))), 2));
        e.Troca("E22", Cel("E22", Num(45), 1));
        e.Troca("F22", Cel("F22", Num(120), 1));
        e.Troca("G22", Cel("G22", "<f>E22+F22</f>", 1));
    });
    // The month sheets not written, read for their formulas.
    for (int folha = 2; folha <= 13; ++folha) {
        if (folha == 9) continue;
        const std::string xml = Le(z, ("xl/worksheets/sheet" + std::to_string(folha) + ".xml").c_str());
        for (size_t i = xml.find("<f>"); i != std::string::npos; i = xml.find("<f>", i + 3)) ++formulasLidas;
    }
    texto("xl/workbook.xml", [](std::string& x) {
        x.replace(x.find("<calcPr "), 8, "<calcPr fullCalcOnLoad=\"1\" ");
        x.replace(x.find("activeTab=\"1\""), 13, "activeTab=\"13\"");
    });
    // The statement's sheet is the one selected when the workbook opens.
    texto("xl/worksheets/sheet2.xml", [](std::string& x) { x.erase(x.find(" tabSelected=\"1\""), 17); });
    if (zip_close(z) != 0) qFatal("o piso não fechou o arquivo");
    const QByteArray novo = memoria.Gravado();
    QSaveFile saida(pasta().termo);
    saida.open(QIODevice::WriteOnly);
    saida.write(novo);
    if (!saida.commit()) qFatal("o piso não gravou");
}

// The cells the run writes, written through the editor as the run writes
// them: the month sheet walked down column A.
void Planilha_Editor() {
    Planilha p(pasta().termo);
    const QString mes = QStringLiteral("08"), tc = QStringLiteral("TC"), dados = QStringLiteral("DADOS");
    p.Texto(QStringLiteral("FECHAMENTO"), QStringLiteral("B11"), QStringLiteral("AGOSTO"));
    QVariant a;
    for (int r = 4; !p.Vazia(mes, QStringLiteral("A%1").arg(r), &a); ++r) {
        const auto& linha = figuras()[size_t(r - 4)];
        for (size_t k = 0; k < 6; ++k) {
            const QString celula = QLatin1String(Colunas[k]) + QString::number(r);
            if (linha) p.Numero(mes, celula, (*linha)[k]);
            else p.Esvazia(mes, celula);
        }
        p.Esvazia(mes, QStringLiteral("T%1").arg(r));
        p.Esvazia(mes, QStringLiteral("U%1").arg(r));
    }
    p.Texto(tc, QStringLiteral("E6"), QStringLiteral("AGOSTO"));
    for (int r = 45; r <= 51; r += 2) {
        p.Esvazia(tc, QStringLiteral("D%1").arg(r));
        p.Esvazia(tc, QStringLiteral("I%1").arg(r));
    }
    p.Data(tc, QStringLiteral("D45"), QDate(2021, 8, 5));
    p.Numero(tc, QStringLiteral("I45"), 100.1);
    p.Data(tc, QStringLiteral("D47"), QDate(2021, 8, 20));
    p.Numero(tc, QStringLiteral("I47"), 250);
    p.Data(dados, QStringLiteral("C22"), QDate::currentDate());
    p.Numero(dados, QStringLiteral("E22"), 45);
    p.Numero(dados, QStringLiteral("F22"), 120);
    p.Texto(tc, QStringLiteral("F73"), QStringLiteral("Caso tenha dúvidas sobre a utilização do Quorvane acesse:"));
    p.Texto(tc, QStringLiteral("F74"), QStringLiteral(TESOURARIA_PAGINA_AUTOR));
    p.Seleciona(tc, QStringLiteral("F75"));
    p.Salva();
}

zip_t* Abre_Zip(const QString& caminho) {
    int erro = 0;
    zip_t* z = zip_open(QFile::encodeName(caminho).constData(), ZIP_RDONLY, &erro);
    if (!z) qFatal("não abriu %s", qPrintable(caminho));
    return z;
}

// The entries of the workbook that differ from the model's, each checked
// to be deflated at zlib's level 6.
std::vector<std::string> Reescritas() {
    zip_t* modelo = Abre_Zip(pasta().modelo);
    zip_t* termo = Abre_Zip(pasta().termo);
    std::vector<std::string> r;
    for (zip_int64_t i = 0; i < zip_get_num_entries(termo, 0); ++i) {
        const char* nome = zip_get_name(termo, zip_uint64_t(i), 0);
        const std::string xml = Le(termo, nome);
        if (zip_name_locate(modelo, nome, 0) >= 0 && Le(modelo, nome) == xml) continue;
        zip_stat_t st;
        zip_stat_index(termo, zip_uint64_t(i), 0, &st);
        std::string bruto(size_t(st.comp_size), '\0');
        zip_file_t* f = zip_fopen_index(termo, zip_uint64_t(i), ZIP_FL_COMPRESSED);
        zip_fread(f, bruto.data(), st.comp_size);
        zip_fclose(f);
        if (st.comp_method != ZIP_CM_DEFLATE || bruto != Planilha_Interna::Comprime(xml))
            qFatal("%s não está comprimida no nível 6", nome);
        r.push_back(nome);
    }
    zip_discard(modelo);
    zip_discard(termo);
    return r;
}

// The formula cells left without a value, entry by entry: "<c r=...><f>...</f></c>".
std::vector<std::string> Sem_Valor() {
    zip_t* z = Abre_Zip(pasta().termo);
    std::vector<std::string> r;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        const char* nome = zip_get_name(z, zip_uint64_t(i), 0);
        const std::string xml = Le(z, nome);
        for (size_t f = xml.find("</f></c>"); f != std::string::npos; f = xml.find("</f></c>", f + 1)) {
            const size_t c = xml.rfind("<c r=\"", f) + 6;
            r.push_back(std::string(nome) + "!" + xml.substr(c, xml.find('"', c) - c));
        }
    }
    zip_discard(z);
    return r;
}

// Every cell the run writes, as read back from the workbook.
QVariantList Celulas() {
    Planilha p(pasta().termo);
    QVariantList v;
    for (const char* f : {"FECHAMENTO!B11", "TC!E6", "TC!D45", "TC!I45", "TC!D47", "TC!I47", "TC!D49", "TC!I49", "TC!D51",
                          "TC!I51", "TC!F73", "TC!F74", "DADOS!C22", "DADOS!E22", "DADOS!F22"}) {
        const QString nome = QString::fromUtf8(f);
        v << p.Valor(nome.section('!', 0, 0), nome.section('!', 1));
    }
    for (int r = 4; r < 4 + Linhas; ++r)
        for (const char* c : {"E", "F", "G", "H", "I", "M", "T", "U"}) v << p.Valor(QStringLiteral("08"), c + QString::number(r));
    return v;
}

// The run once, then the figures its lines received (the installation's
// own line as posted by that run), then the editor alone and the floor:
// each must leave the same values in every cell the run writes, and
// rewrite the same entries.
void Confere() {
    Copia_Modelo();
    Roda_Termo();
    const QVariantList termo = Celulas();
    const std::vector<std::string> reescritas = Reescritas();
    const std::vector<std::string> semValor = Sem_Valor();
    if (semValor.size() != Linhas + 3) qFatal("o termo tirou o valor de %zu fórmulas", semValor.size());
    for (int r = 4; r < 4 + Linhas; ++r) {
        const int codigo = r == 10 ? Igreja : r - 3;
        const RecordsetPtr rs = Abre_Recordset(QStringLiteral(
            "SELECT SUM(Entradas) AS Entradas, SUM(Luz) AS Luz, SUM(Aluguel) AS Aluguel, SUM(Agua) AS Agua, "
            "SUM(Prebenda) AS Prebenda, SUM(Saidas) AS Saidas FROM TotIgrejas WHERE CodIg = %1 AND CodCongrega = %2 "
            "AND Ano = 2021 AND Mes = 8 GROUP BY CodCongrega").arg(Igreja).arg(codigo));
        if (rs->Eof()) {
            figuras().push_back(std::nullopt);
            continue;
        }
        std::array<double, 6> linha{};
        const char* campos[] = {"Entradas", "Luz", "Aluguel", "Agua", "Prebenda", "Saidas"};
        for (size_t k = 0; k < 6; ++k) linha[k] = rs->Fields(QLatin1String(campos[k])).toDouble();
        figuras().push_back(linha);
    }
    for (void (*passo)() : {Planilha_Editor, Piso}) {
        Copia_Modelo();
        passo();
        if (Celulas() != termo) qFatal("o termo e o editor ou o piso não deixaram os mesmos valores");
        if (Reescritas() != reescritas) qFatal("o termo e o editor ou o piso não reescreveram as mesmas partes");
        if (Sem_Valor() != semValor) qFatal("o termo e o editor ou o piso não tiraram os valores das mesmas fórmulas");
        if (passo == Piso && formulasLidas != 11 * (Linhas + 1)) qFatal("o piso não leu as fórmulas das outras folhas");
    }
}

// Each iteration from a fresh copy of the workbook.
void Mede(benchmark::State& estado, void (*passo)()) {
    for (auto _ : estado) {
        estado.PauseTiming();
        Copia_Modelo();
        estado.ResumeTiming();
        passo();
    }
    estado.counters["linhas"] = Linhas;
    estado.SetItemsProcessed(estado.iterations() * Linhas);
}

void BM_Termo(benchmark::State& estado) { Mede(estado, Roda_Termo); }
BENCHMARK(BM_Termo)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Planilha(benchmark::State& estado) { Mede(estado, Planilha_Editor); }
BENCHMARK(BM_Planilha)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Piso(benchmark::State& estado) { Mede(estado, Piso); }
BENCHMARK(BM_Piso)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    return Roda_Benchmarks(argc, argv, [] { Confere(); });
}
