// A formula moved to another cell, the way a spreadsheet program fills it:
// the relative parts of its references move by the same number of columns
// and rows, the parts anchored by "$" stay; texts in quotes, sheet and
// table names, function names and error values stay as they are.
#include "platform/PlanilhaInterna.h"

namespace {
using Planilha_Interna::MaxColuna;
using Planilha_Interna::MaxLinha;

bool Letra(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool Digito(char c) { return c >= '0' && c <= '9'; }
// The characters of a name, a function's name, a number or a reference.
bool De_Nome(char c) {
    return Letra(c) || Digito(c) || c == '_' || c == '.' || c == '\\' || c == '$' || c == '?' ||
           static_cast<unsigned char>(c) >= 0x80;
}

using Parte_Ref = Planilha_Interna::Parte_Ref;
using Planilha_Interna::Igual_Sem_Caixa;

// A column's letters (up to three) or a row's digits (up to seven), with
// their "$" if any, as the whole of `s`.
bool Le_Parte(std::string_view s, bool coluna, Parte_Ref& p) {
    p.ancorada = !s.empty() && s[0] == '$';
    if (p.ancorada) s.remove_prefix(1);
    if (s.empty() || s.size() > (coluna ? 3u : 7u)) return false;
    p.valor = 0;
    for (const char c : s) {
        if (coluna ? !Letra(c) : !Digito(c)) return false;
        p.valor = coluna ? p.valor * 26 + ((c | 0x20) - 'a' + 1) : p.valor * 10 + (c - '0');
    }
    return p.valor >= 1 && p.valor <= (coluna ? MaxColuna : MaxLinha);
}

bool Le_Coluna(std::string_view s, Parte_Ref& p) { return Le_Parte(s, true, p); }
bool Le_Linha(std::string_view s, Parte_Ref& p) { return Le_Parte(s, false, p); }

// "$A1" as its column and row.
bool Le_Celula(std::string_view s, Parte_Ref& coluna, Parte_Ref& linha) {
    size_t i = s.empty() || s[0] != '$' ? 0 : 1;
    while (i < s.size() && Letra(s[i])) ++i;
    return Le_Coluna(s.substr(0, i), coluna) && Le_Linha(s.substr(i), linha);
}

// A part moved; false when it leaves the sheet.
bool Move(Parte_Ref& p, int passo, int maximo) {
    if (p.ancorada) return true;
    p.valor += passo;
    return p.valor >= 1 && p.valor <= maximo;
}

void Escreve_Coluna(std::string& saida, const Parte_Ref& p) {
    if (p.ancorada) saida += '$';
    saida += Planilha_Interna::Letras_Coluna(p.valor);
}

void Escreve_Linha(std::string& saida, const Parte_Ref& p) {
    if (p.ancorada) saida += '$';
    saida += std::to_string(p.valor);
}

// Where a quoted text (or quoted sheet name) that starts at `i` ends, its
// doubled quotes inside.
size_t Fim_Citacao(std::string_view f, size_t i) {
    const char aspa = f[i];
    for (size_t j = i + 1; j < f.size(); ++j) {
        if (f[j] != aspa) continue;
        if (j + 1 < f.size() && f[j + 1] == aspa) ++j;
        else return j + 1;
    }
    return f.size();
}

// Where the brackets that open at `i` close: a table's columns
// ("Tabela[[#Esta Linha],[Valor]]") or another workbook ("[1]"), where
// "'" takes the next character as it is.
size_t Fim_Colchetes(std::string_view f, size_t i) {
    int nivel = 0;
    for (size_t j = i; j < f.size(); ++j) {
        if (f[j] == '\'') ++j;
        else if (f[j] == '[') ++nivel;
        else if (f[j] == ']' && --nivel == 0) return j + 1;
    }
    return f.size();
}

size_t Fim_Nome(std::string_view f, size_t i) {
    while (i < f.size() && De_Nome(f[i])) ++i;
    return i;
}

// A formula read piece by piece, each piece handed to `leitor` as what it
// is: the formula is the concatenation of the pieces' texts. References
// come with their parts read; everything else as its text:
//   texto      operators, separators, blanks, numbers, texts in quotes
//   folha      a sheet prefix with its "!": "Dados!", "'Saídas 2021'!",
//              "Jan:Dez!", and the sheet names it gives, unquoted
//   colchetes  "[...]": a table's columns or another workbook
//   erro       "#N/A", "#REF!"; or a lone "#", the spill mark
//   funcao     a function's name, before its "("
//   tabela     a table's name, before its "["
//   nome       a defined name, TRUE, FALSE
//   celula     "$A1"; faixa_colunas "A:C"; faixa_linhas "4:6"
// A reader's false stops the walk, which then gives false.
template <class Leitor>
bool Percorre(std::string_view f, Leitor& leitor) {
    size_t i = 0;
    while (i < f.size()) {
        const char c = f[i];
        if (c == '"' || c == '\'') {
            const size_t fim = Fim_Citacao(f, i);
            if (c == '\'' && fim < f.size() && f[fim] == '!') {
                std::string nome;
                for (size_t k = i + 1; k + 1 < fim; ++k) {
                    nome += f[k];
                    if (f[k] == '\'') ++k;  // doubled inside the quotes
                }
                leitor.folha(f.substr(i, fim + 1 - i), nome);
                i = fim + 1;
            } else {
                leitor.texto(f.substr(i, fim - i));
                i = fim;
            }
            continue;
        }
        if (c == '[') {
            const size_t fim = Fim_Colchetes(f, i);
            leitor.colchetes(f.substr(i, fim - i));
            i = fim;
            continue;
        }
        if (c == '#') {
            size_t fim = i + 1;
            while (fim < f.size() && (Letra(f[fim]) || Digito(f[fim]) || f[fim] == '/' || f[fim] == '_')) ++fim;
            if (fim < f.size() && (f[fim] == '!' || f[fim] == '?')) ++fim;
            leitor.erro(f.substr(i, fim - i));
            i = fim;
            continue;
        }
        if (!De_Nome(c)) {
            leitor.texto(f.substr(i, 1));
            ++i;
            continue;
        }
        const size_t fim = Fim_Nome(f, i);
        const std::string_view nome = f.substr(i, fim - i);
        const char depois = fim < f.size() ? f[fim] : '\0';
        if (depois == '(') {
            leitor.funcao(nome);
            i = fim;
            continue;
        }
        if (depois == '!') {
            leitor.folha(f.substr(i, fim + 1 - i), std::string(nome));
            i = fim + 1;
            continue;
        }
        if (depois == '[') {
            leitor.tabela(nome);
            i = fim;
            continue;
        }
        // What follows a ":": a range's other end, or the last sheet of
        // "Jan:Dez!A1".
        std::string_view outro;
        size_t fim2 = fim;
        if (depois == ':') {
            fim2 = Fim_Nome(f, fim + 1);
            outro = f.substr(fim + 1, fim2 - fim - 1);
        }
        const char depoisOutro = fim2 < f.size() ? f[fim2] : '\0';
        if (!outro.empty() && depoisOutro == '!') {
            leitor.folha(f.substr(i, fim2 + 1 - i), std::string(f.substr(i, fim2 - i)));
            i = fim2 + 1;
            continue;
        }
        const bool faixa = !outro.empty() && depoisOutro != '(' && depoisOutro != '[';
        Parte_Ref a, b, a2, b2;
        bool seguiu = true;
        if (Le_Celula(nome, a, b)) {
            seguiu = leitor.celula(a, b);
            i = fim;
        } else if (faixa && Le_Coluna(nome, a) && Le_Coluna(outro, a2)) {
            seguiu = leitor.faixa_colunas(a, a2);
            i = fim2;
        } else if (faixa && Le_Linha(nome, b) && Le_Linha(outro, b2)) {
            seguiu = leitor.faixa_linhas(b, b2);
            i = fim2;
        } else {
            leitor.nome(nome);
            i = fim;
        }
        if (!seguiu) return false;
    }
    return true;
}

// The formula written again with its references moved.
struct Deslocador {
    int colunas, linhas;
    std::string& saida;

    void texto(std::string_view t) { saida.append(t); }
    void folha(std::string_view t, const std::string&) { saida.append(t); }
    void colchetes(std::string_view t) { saida.append(t); }
    void erro(std::string_view t) { saida.append(t); }
    void funcao(std::string_view t) { saida.append(t); }
    void tabela(std::string_view t) { saida.append(t); }
    void nome(std::string_view t) { saida.append(t); }
    bool celula(Parte_Ref a, Parte_Ref b) {
        if (!Move(a, colunas, MaxColuna) || !Move(b, linhas, MaxLinha)) return false;
        Escreve_Coluna(saida, a);
        Escreve_Linha(saida, b);
        return true;
    }
    // "A:C" or "4:6": both ends moved, or none written.
    bool Faixa(Parte_Ref de, Parte_Ref ate, int passo, int maximo, void (*escreve)(std::string&, const Parte_Ref&)) {
        if (!Move(de, passo, maximo) || !Move(ate, passo, maximo)) return false;
        escreve(saida, de);
        saida += ':';
        escreve(saida, ate);
        return true;
    }
    bool faixa_colunas(Parte_Ref a, Parte_Ref a2) { return Faixa(a, a2, colunas, MaxColuna, Escreve_Coluna); }
    bool faixa_linhas(Parte_Ref b, Parte_Ref b2) { return Faixa(b, b2, linhas, MaxLinha, Escreve_Linha); }
};

// What the formula's result depends on.
struct Leitor_Dependencias {
    explicit Leitor_Dependencias(Planilha_Interna::Dependencias& saida) : d(saida) {}
    Planilha_Interna::Dependencias& d;
    std::string pendente;  // the sheet prefix just read, for what follows it
    bool temPendente = false;
    bool aposReferencia = false;  // the last piece was a reference
    bool doisPontos = false;      // and a ":" followed it
    bool faixa = false;           // that reference has two ends already

    void Fim_Peca() {
        temPendente = false;
        aposReferencia = false;
        doisPontos = false;
    }
    void texto(std::string_view t) {
        if (t == ":" && aposReferencia && !doisPontos) {
            doisPontos = true;
            return;
        }
        // A range whose end is not a cell ("INDEX(...):B5", "A1:Nome")
        // covers cells neither end names.
        if (t == ":") d.indeterminada = true;
        Fim_Peca();
    }
    void folha(std::string_view, const std::string& nome) {
        if (doisPontos) d.indeterminada = true;  // "A1:Dados!B2"
        Fim_Peca();
        pendente = nome;
        temPendente = true;
        // Another workbook's sheet: "'[1]Dados'!A1", "'C:\[Livro.xlsx]Dados'!A1".
        if (nome.find('[') != std::string::npos) d.indeterminada = true;
    }
    void colchetes(std::string_view) {
        d.indeterminada = true;
        Fim_Peca();
    }
    void tabela(std::string_view) {
        d.indeterminada = true;
        Fim_Peca();
    }
    void erro(std::string_view t) {
        // "A1#": as many cells as the formula in A1 spills over.
        if (t == "#" || aposReferencia) d.indeterminada = true;
        Fim_Peca();
    }
    void funcao(std::string_view nome) {
        if (doisPontos) d.indeterminada = true;
        // Functions that make their reference from values: any cell.
        std::string_view simples = nome;
        if (const size_t ponto = simples.rfind('.'); ponto != std::string_view::npos) simples.remove_prefix(ponto + 1);
        if (Igual_Sem_Caixa(simples, "INDIRECT") || Igual_Sem_Caixa(simples, "OFFSET")) d.indeterminada = true;
        Fim_Peca();
    }
    void nome(std::string_view n) {
        if (doisPontos) d.indeterminada = true;
        const bool numero = Digito(n[0]) || n[0] == '.';
        if (!numero && !Igual_Sem_Caixa(n, "TRUE") && !Igual_Sem_Caixa(n, "FALSE"))
            d.nomes.push_back({temPendente ? pendente : std::string(), std::string(n)});
        Fim_Peca();
    }
    void Referencia(Parte_Ref c1, Parte_Ref r1, Parte_Ref c2, Parte_Ref r2) {
        if (doisPontos) {
            // The other end of "A1:B5", under the first end's sheet; a
            // third end widens the box ("B2:C3:A1" is A1:C3).
            Planilha_Interna::Referencia& r = d.referencias.back();
            if (temPendente) d.indeterminada = true;
            if (faixa) {
                d.referencias.push_back({r.folha, c1, r1, c2, r2, true});
            } else {
                r.c2 = c2;
                r.r2 = r2;
            }
            faixa = true;
        } else {
            d.referencias.push_back({temPendente ? pendente : std::string(), c1, r1, c2, r2});
            faixa = false;
        }
        temPendente = false;
        doisPontos = false;
        aposReferencia = true;
    }
    bool celula(Parte_Ref a, Parte_Ref b) {
        Referencia(a, b, a, b);
        return true;
    }
    bool faixa_colunas(Parte_Ref a, Parte_Ref a2) {
        Referencia(a, {true, 1}, a2, {true, MaxLinha});
        aposReferencia = false;
        return true;
    }
    bool faixa_linhas(Parte_Ref b, Parte_Ref b2) {
        Referencia({true, 1}, b, {true, MaxColuna}, b2);
        aposReferencia = false;
        return true;
    }
};
}  // namespace

namespace Planilha_Interna {

bool Igual_Sem_Caixa(std::string_view a, std::string_view b) {
    const auto minuscula = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return minuscula(x) == minuscula(y); });
}

bool Desloca_Formula(std::string_view f, int colunas, int linhas, std::string& saida) {
    saida.clear();
    saida.reserve(f.size() + 8);
    Deslocador d{colunas, linhas, saida};
    return Percorre(f, d);
}

void Le_Dependencias(std::string_view formula, Dependencias& saida) {
    saida.referencias.clear();
    saida.nomes.clear();
    saida.indeterminada = false;
    Leitor_Dependencias leitor(saida);
    Percorre(formula, leitor);
}

}  // namespace Planilha_Interna
