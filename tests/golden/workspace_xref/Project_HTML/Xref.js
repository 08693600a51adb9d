function quillonXref(data) {}
