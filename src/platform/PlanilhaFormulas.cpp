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

// One part of a reference: a column ("$AB") or a row ("$12").
struct Parte_Ref {
    bool ancorada = false;
    int valor = 0;
};

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

std::string Texto_Coluna(const Parte_Ref& p) { return (p.ancorada ? "$" : "") + Planilha_Interna::Letras_Coluna(p.valor); }

std::string Texto_Linha(const Parte_Ref& p) { return (p.ancorada ? "$" : "") + std::to_string(p.valor); }

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
}  // namespace

namespace Planilha_Interna {

bool Desloca_Formula(std::string_view f, int colunas, int linhas, std::string& saida) {
    saida.clear();
    saida.reserve(f.size() + 8);
    size_t i = 0;
    while (i < f.size()) {
        const char c = f[i];
        if (c == '"' || c == '\'') {
            const size_t fim = Fim_Citacao(f, i);
            saida.append(f.substr(i, fim - i));
            i = fim;
            continue;
        }
        if (c == '[') {
            const size_t fim = Fim_Colchetes(f, i);
            saida.append(f.substr(i, fim - i));
            i = fim;
            continue;
        }
        if (c == '#') {
            // An error value ("#REF!", "#DIV/0!", "#N/A"), or the spill
            // mark after a reference.
            size_t fim = i + 1;
            while (fim < f.size() && (Letra(f[fim]) || Digito(f[fim]) || f[fim] == '/' || f[fim] == '_')) ++fim;
            if (fim < f.size() && (f[fim] == '!' || f[fim] == '?')) ++fim;
            saida.append(f.substr(i, fim - i));
            i = fim;
            continue;
        }
        if (!De_Nome(c)) {
            saida += c;
            ++i;
            continue;
        }
        const size_t fim = Fim_Nome(f, i);
        const std::string_view nome = f.substr(i, fim - i);
        const char depois = fim < f.size() ? f[fim] : '\0';
        // A function, a sheet, a table: followed by "(", "!", "[".
        if (depois == '(' || depois == '!' || depois == '[') {
            saida.append(nome);
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
            saida.append(f.substr(i, fim2 - i));
            i = fim2;
            continue;
        }
        const bool faixa = !outro.empty() && depoisOutro != '(' && depoisOutro != '[';
        Parte_Ref a, b, a2, b2;
        if (Le_Celula(nome, a, b)) {
            if (!Move(a, colunas, MaxColuna) || !Move(b, linhas, MaxLinha)) return false;
            saida += Texto_Coluna(a) + Texto_Linha(b);
            i = fim;
        } else if (faixa && Le_Coluna(nome, a) && Le_Coluna(outro, a2)) {
            // Whole columns, "A:C".
            if (!Move(a, colunas, MaxColuna) || !Move(a2, colunas, MaxColuna)) return false;
            saida += Texto_Coluna(a) + ":" + Texto_Coluna(a2);
            i = fim2;
        } else if (faixa && Le_Linha(nome, b) && Le_Linha(outro, b2)) {
            // Whole rows, "4:6".
            if (!Move(b, linhas, MaxLinha) || !Move(b2, linhas, MaxLinha)) return false;
            saida += Texto_Linha(b) + ":" + Texto_Linha(b2);
            i = fim2;
        } else {
            // A name, a number, TRUE.
            saida.append(nome);
            i = fim;
        }
    }
    return true;
}

}  // namespace Planilha_Interna
