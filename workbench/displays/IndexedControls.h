#pragma once

#include <QWidget>
#include <array>
#include <utility>

// A control array as the designer names it: N controls of one name told
// apart by their "Index" property.
template <class T, std::size_t N>
std::array<T *, N> makeIndexedControls(QWidget *parent, const char *name)
{
    std::array<T *, N> out = [parent]<std::size_t... I>(std::index_sequence<I...>)
    {
        return std::array<T *, N>{new T((void(I), parent))...};
    }
    (std::make_index_sequence<N>());
    for (std::size_t i = 0; i < N; ++i) {
        out[i]->setObjectName(QLatin1String(name));
        out[i]->setProperty("Index", int(i));
    }
    return out;
}
