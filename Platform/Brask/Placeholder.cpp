// Device-stack client interface and simulator.
