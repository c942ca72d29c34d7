// Fills a tree widget from a list of nodes in creation order, each naming an
// earlier node as its parent (-1 for a top-level node): the shape both the
// contents tree and the word-index tree are built in.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

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

}  // namespace varnet::ui
