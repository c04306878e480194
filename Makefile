# Convenience targets; setup.sh does the work (and installs what is missing).
.PHONY: demo test build format
demo:
	bash setup.sh demo
test:
	bash setup.sh test
build:
	bash setup.sh build
format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i
