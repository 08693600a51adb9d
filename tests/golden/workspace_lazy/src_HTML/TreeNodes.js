function quillonTreeNodes(nodes) {}
