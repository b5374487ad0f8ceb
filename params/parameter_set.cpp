namespace zav {}
