// Fills a tree widget from a list of nodes in creation order, each naming an
// earlier node as its parent (-1 for a top-level node): the shape both the
// contents tree and the word-index tree are built in; and finds nodes by
// their absolute index, their position in that same order.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cstdint>
#include <vector>

namespace varnet::ui {

template <class Node>
void fillTree(QTreeWidget* tree, const std::vector<Node>& nodes) {
    std::vector<QTreeWidgetItem*> items;
    items.reserve(nodes.size());
    QList<QTreeWidgetItem*> topLevel;
    for (const Node& node : nodes) {
        auto* item = new QTreeWidgetItem(QStringList(QString::fromLatin1(node.text)));
        if (node.parent < 0)
            topLevel.append(item);
        else
            items[static_cast<std::size_t>(node.parent)]->addChild(item);
        items.push_back(item);
    }
    tree->addTopLevelItems(topLevel);
}

// The position of a node in a depth-first walk of the whole tree (a node
// before its children, expanded or not); -1 when it is not in the tree.
inline std::int32_t absoluteIndex(QTreeWidget* tree, const QTreeWidgetItem* item) {
    std::int32_t index = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++index)
        if (*it == item) return index;
    return -1;
}

// The node at an absolute index; none past the last.
inline QTreeWidgetItem* itemAtAbsoluteIndex(QTreeWidget* tree, std::int32_t target) {
    std::int32_t index = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++index)
        if (index == target) return *it;
    return nullptr;
}

}  // namespace varnet::ui
