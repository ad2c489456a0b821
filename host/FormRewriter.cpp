// The lossless writer over a tree of form objects.
#include "FormRewriter.h"

namespace host {

namespace {

// A tree's objects as the rewriter takes them: the tree's own nodes.
struct TreeNodes {
  using Node = const FormObject*;
  const FormObject& Members(Node node) const { return *node; }
  const FormObject& Whole(Node node) const { return *node; }
  std::size_t ChildCount(Node node) const { return node->Children.size(); }
  Node Child(Node node, std::size_t i) const { return &node->Children[i]; }
  SourceSpan Source(Node node) const { return node->Source; }
};

}  // namespace

std::string RewriteFormText(const FormObject& root, std::string_view source,
                            const FormTextStyle& style) {
  if (!root.Source.Known()) return FormatFormText(root, style);
  TreeNodes nodes;
  return formtext::Rewriter(nodes, source, style).Write(&root);
}

}  // namespace host
