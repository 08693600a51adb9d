// Orders of a small shop, for the ctags yardstick.
package shop;

import java.util.ArrayList;
import java.util.List;

interface Priced {
    double price();
}

enum Size {
    SMALL(1), MEDIUM(2), LARGE(3);

    private final int factor;

    Size(int factor) {
        this.factor = factor;
    }

    int factor() {
        return factor;
    }
}

abstract class Product implements Priced {
    protected final String name;
    protected Size size;

    Product(String name, Size size) {
        this.name = name;
        this.size = size;
    }

    String getName() {
        return name;
    }

    abstract double basePrice();

    public double price() {
        return basePrice() * size.factor();
    }
}

class Coffee extends Product {
    static final double BASE = 2.5;
    private boolean decaf;

    Coffee(Size size, boolean decaf) {
        super("coffee", size);
        this.decaf = decaf;
    }

    double basePrice() {
        return decaf ? BASE + 0.2 : BASE;
    }
}

class Cake extends Product {
    private int slices;

    Cake(int slices) {
        super("cake", Size.MEDIUM);
        this.slices = slices;
    }

    double basePrice() {
        return 3.0 * slices;
    }
}

public class Orders {
    private final List<Product> lines = new ArrayList<>();
    private int number;

    static class Receipt {
        final double total;
        final int count;

        Receipt(double total, int count) {
            this.total = total;
            this.count = count;
        }

        String format() {
            return count + " items: " + total;
        }
    }

    void add(Product product) {
        lines.add(product);
    }

    double total() {
        double sum = 0;
        for (Product p : lines) sum += p.price();
        return sum;
    }

    Receipt close() {
        number++;
        return new Receipt(total(), lines.size());
    }

    public static void main(String[] args) {
        Orders orders = new Orders();
        orders.add(new Coffee(Size.LARGE, false));
        orders.add(new Cake(2));
        Receipt receipt = orders.close();
        System.out.println(receipt.format());
    }
}
