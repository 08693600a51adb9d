function tree_iconclick(id) {}
function SendTabText(name) {}
