#pragma once
// Between form trees and live components: opening a form file for design,
// building a form from its resource, and writing components back.

#include <memory>
#include <string>
#include <string_view>

#include "Classes.h"
#include "FormText.h"
#include "FormTree.h"

namespace host {

// Reads `tree` into `root`: the tree's properties become root's, and every
// nested object is created by class name, owned by `root` (or by the inline
// object it stands in), named, and given its properties, in file order. A
// class the registry does not know becomes a placeholder that keeps what was
// stored. `source` names the file or resource in errors (ESourceError). The
// tree's properties move into the components (pass a copy to keep them).
//
// With `bindToClass` the tree is the resource of root's own class: each
// nested component must have a published field of that name, which is
// pointed at it, and each handler the tree names must be a published handler,
// which the event is bound to. Anything unpublished is an error naming it.
void ReadComponents(TComponent& root, FormObject tree, const std::string& source, bool bindToClass);

// Reads the form text `text` into `root` as ReadComponents reads its tree,
// each object directly inside the root as soon as the text reader has it,
// so that the form is never held whole as a tree besides its components.
// Returns the document read, its root without its children or properties;
// the components point into its text, which must be kept while they live.
FormDocument ReadComponentsFromText(TComponent& root, std::shared_ptr<const std::string> text,
                                    const std::string& source);

// The tree that writes `root` and what it owns back: stored properties in
// their order, published ones with their current values.
FormObject WriteComponents(TComponent& root);

// The text of `root` and what it owns: `source`, the text they were read from
// (laid out in `style`), with only what was edited since changed, as
// RewriteFormText(WriteComponents(root), source, style) gives, but written
// object by object instead of through a whole second tree. A form not read
// from a text is written canonically.
std::string RewriteComponents(TComponent& root, std::string_view source,
                              const FormTextStyle& style);
// The same text, given to `sink` piece by piece as it is written.
void RewriteComponents(TComponent& root, std::string_view source, const FormTextStyle& style,
                       const TextSink& sink);

// The value a form file gave the published property `info` of `c` that the
// component did not take (FormProperty::Refused says why); null when it took
// what the file gave, or the file gave nothing.
const FormProperty* RefusedValue(const TComponent& c, const TPropInfo& info);

}  // namespace host
