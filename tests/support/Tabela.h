#pragma once
// A table of cases as named QtTest rows: one column "caso" of the case's
// type, read with QFETCH(Type, caso).
#include <QTest>
#include <initializer_list>
#include <utility>

template <class T>
void Tabela(std::initializer_list<std::pair<const char*, T>> casos) {
    QTest::addColumn<T>("caso");
    for (const auto& [nome, caso] : casos) QTest::newRow(nome) << caso;
}
