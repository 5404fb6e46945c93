# make run   - build and show the demo: a synthetic file, summarised from its dump and drawn;
#              with a display, the program itself opens it
# make test  - build and run every test
BUILD ?= build
JOBS ?= $(shell nproc)
WERROR ?= OFF
CLI = $(BUILD)/app/cli/vantrel-cli
GUI = $(BUILD)/app/gui/vantrel
DEMO = $(BUILD)/demo/demo.ens

.PHONY: all deps configure build run test sanitize bench clean

all: build

deps:
	@bash scripts/setup-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/demo.sh $(CLI) $(BUILD)/demo
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(GUI) $(DEMO); \
	else \
	  echo "no display: start the program with  $(GUI) $(DEMO)"; \
	  echo "or take a picture of it with  QT_QPA_PLATFORM=offscreen $(GUI) --screenshot main.png $(DEMO)"; \
	fi

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B $(BUILD)-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DVANTREL_SANITIZE=ON -DVANTREL_WERROR=$(WERROR) -DVANTREL_BENCH=OFF >/dev/null
	@cmake --build $(BUILD)-asan -j $(JOBS)
	@cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD)/bench/vantrel_bench

clean:
	rm -rf $(BUILD) $(BUILD)-asan
